#include <cxxabi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <regex>
#include <string>
#include <type_traits>
#include <vector>

#include "export_names.h"
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
static_assert(sizeof(bool) == 1);  // Debug's result is one byte

}  // namespace
