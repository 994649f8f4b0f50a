#include <cxxabi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <regex>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "export_names.h"
#include "test_support.h"
#include "zyl/zyl.h"

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

template <class Got, class Want>
void ExpectType(const char* what) {
  EXPECT_TRUE((std::is_same_v<Got, Want>)) << what;
}

// Neither result types nor the plain names' arguments are encoded in the export names, so a
// change there would link fine and break every caller built before it.
TEST(ExportTable, ResultsAndPlainArgumentsKeepTheirTypes) {
  const std::string& text = std::string();
  const ZYLString& zyl_text = ZYLString();
  ExpectType<decltype(ZYLTrim(text)), std::string>("ZYLTrim");
  ExpectType<decltype(ZYLTrimLeft(text)), std::string>("ZYLTrimLeft");
  ExpectType<decltype(ZYLTrimRight(text)), std::string>("ZYLTrimRight");
  ExpectType<decltype(PadString(zyl_text, ' ', 0, false)), ZYLString>("PadString");
  ExpectType<decltype(ExtractFileName(zyl_text)), ZYLString>("ExtractFileName");
  ExpectType<decltype(ExtractFilePath(zyl_text)), ZYLString>("ExtractFilePath");
  ExpectType<decltype(ExtractShortPathName(zyl_text)), ZYLString>("ExtractShortPathName");
  ExpectType<decltype(GetWindowTitle(nullptr)), ZYLString>("GetWindowTitle");
  ExpectType<decltype(&Debug), bool (*)()>("Debug");
  ExpectType<decltype(&SendDebugMsg), void (*)(const std::string&)>("SendDebugMsg");
  ExpectType<decltype(&ShowZYLMsg), void (*)(const std::string&)>("ShowZYLMsg");
  ExpectType<decltype(&ShowZYLError), void (*)(const std::string&, const std::string&)>(
      "ShowZYLError");
  ExpectType<decltype(LogName), const char*>("LogName");
  EXPECT_EQ(sizeof(bool), 1u);  // Debug's result is one byte
}

// No exception may leave an export: the 32-bit DLL's caller cannot catch one. Given a few hundred
// MB when no copy of them fits, every export that copies its input gives its failure result.
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
  const std::size_t sizes[] = {ZYLTrim(big).size(),
                               ZYLTrimLeft(big).size(),
                               ZYLTrimRight(big).size(),
                               PadString(big, ' ', kSize + 1, true).size(),
                               ExtractFileName(big).size(),
                               ExtractFilePath(big).size(),
                               ExtractShortPathName(big).size()};
  hog.clear();
  for (const std::size_t size : sizes) EXPECT_EQ(size, 0u);
  EXPECT_FALSE(zyl::testing::FileExists(log));
}

}  // namespace
