#include <cxxabi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <regex>
#include <string>
#include <type_traits>
#include <vector>

#include "export_names.h"
#include "test_support.h"
#include "zyl/zyl.h"
#include "zyl/zyl_c.h"

namespace {

// A decorated name as a signature, std::string spelled short; plain names stay as they are.
std::string Readable(const std::string& name) {
  if (name.rfind("_Z", 0) != 0) return name;
  int status = 0;
  const std::unique_ptr<char, decltype(&std::free)> demangled(
      abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status), &std::free);
  if (status != 0 || demangled == nullptr) return name;
  static const std::regex std_string(
      R"(std::(__cxx11::)?basic_string<char, std::char_traits<char>, std::allocator<char> >)");
  return std::regex_replace(demangled.get(), std_string, "std::string");
}

// Callers built against the library bind to exactly these: the decorated names encode the
// argument types and their order, the plain ones are C names.
TEST(ExportTable, HoldsExactlyTheThirteenExports) {
  std::vector<std::string> want = {
      "Debug",
      "LogName",
      "SendDebugMsg",
      "ShowZYLError",
      "ShowZYLMsg",
      "ZYLTrim(std::string const&)",
      "ZYLTrimLeft(std::string const&)",
      "ZYLTrimRight(std::string const&)",
      "PadString(ZYLString const&, char, int, bool)",
      "ExtractFileName(ZYLString const&)",
      "ExtractFilePath(ZYLString const&)",
      "ExtractShortPathName(ZYLString const&)",
      "GetWindowTitle(HWND__*)",
  };
  std::vector<std::string> got;
  for (const std::string& name : zyl::testing::ExportedNames()) got.push_back(Readable(name));
  std::sort(want.begin(), want.end());
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, want);
}

// Neither result types nor the plain names' arguments are encoded in the export names, so a
// change there would link fine and break every caller built before it.
template <class Got, class Want>
constexpr bool kSame = std::is_same_v<Got, Want>;
using Text = const std::string&;
using ZText = const ZYLString&;
static_assert(kSame<decltype(&ZYLTrim), std::string (*)(Text)>);
static_assert(kSame<decltype(&ZYLTrimLeft), std::string (*)(Text)>);
static_assert(kSame<decltype(&ZYLTrimRight), std::string (*)(Text)>);
static_assert(kSame<decltype(&PadString), ZYLString (*)(ZText, char, std::int32_t, bool)>);
static_assert(kSame<decltype(&ExtractFileName), ZYLString (*)(ZText)>);
static_assert(kSame<decltype(&ExtractFilePath), ZYLString (*)(ZText)>);
static_assert(kSame<decltype(&ExtractShortPathName), ZYLString (*)(ZText)>);
static_assert(kSame<decltype(&GetWindowTitle), ZYLString (*)(HWND)>);
static_assert(kSame<decltype(&Debug), bool (*)()>);
static_assert(kSame<decltype(&SendDebugMsg), void (*)(Text)>);
static_assert(kSame<decltype(&ShowZYLMsg), void (*)(Text)>);
static_assert(kSame<decltype(&ShowZYLError), void (*)(Text, Text)>);
static_assert(kSame<decltype(LogName), const char*>);

// No exception may leave an export: the 32-bit DLL's caller cannot catch one. Given a few hundred
// MB when no copy of them fits, every export that copies its input gives its failure result, and
// so does the C interface, which copies it first.
TEST(Exports, GiveTheirFailureResultWhenMemoryRunsOut) {
  zyl::testing::ScopedAddressSpaceLimit limit;
  if (!limit.ok()) GTEST_SKIP() << "address space not boundable here: 64-bit Windows or ASan";
  constexpr std::size_t kSize = std::size_t{256} << 20;
  zyl::testing::TempDir dir;
  const std::string log = dir.path() + "oom.log";
  ZYLString big(kSize, 'x');
  big[kSize / 2] = '\\';
  std::vector<std::unique_ptr<char[]>> hog;
  hog.reserve(4096);
  while (char* block = new (std::nothrow) char[kSize / 4]) hog.emplace_back(block);
  const char* old_log = LogName;
  LogName = log.c_str();
  SendDebugMsg(big);
  LogName = old_log;
  char out[] = "untouched";
  const std::size_t sizes[] = {zyl_trim(big.data(), big.size(), out, sizeof out),
                               ZYLTrim(big).size(),
                               ZYLTrimLeft(big).size(),
                               ZYLTrimRight(big).size(),
                               PadString(big, ' ', kSize + 1, true).size(),
                               ExtractFileName(big).size(),
                               ExtractFilePath(big).size(),
                               ExtractShortPathName(big).size()};
  hog.clear();
  for (const std::size_t size : sizes) EXPECT_EQ(size, 0u);
  EXPECT_STREQ(out, "");
  EXPECT_FALSE(zyl::testing::FileExists(log));
}

}  // namespace
