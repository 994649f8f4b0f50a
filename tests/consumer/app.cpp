// The user's program of README.md's recipes (scripts/consumer-test.sh builds it each way): calls
// every export of the installed library and checks the answers. Expects DEBUG=On.

#include <zyl/zyl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

int failures = 0;

void Expect(const char* call, const std::string& got, const std::string& want) {
  const bool ok = got == want;
  std::printf("%s %s -> \"%s\"", ok ? "ok  " : "FAIL", call, got.c_str());
  if (!ok) std::printf(", want \"%s\"", want.c_str());
  std::printf("\n");
  failures += ok ? 0 : 1;
}

std::string ReadText(const char* path) {
  std::ifstream in(path);  // text mode: CRLF reads as LF on Windows
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int main() {
  Expect("ZYLTrim", ZYLTrim(" \t report.txt\r\n"), "report.txt");
  Expect("ZYLTrimLeft", ZYLTrimLeft("  a "), "a ");
  Expect("PadString", PadString(ZYLString(42), '0', 5, true), "00042");
  Expect("ExtractFileName", ExtractFileName("C:\\DIR\\FILE.TXT"), "FILE.TXT");
  Expect("ExtractFilePath", ExtractFilePath("C:\\DIR\\FILE.TXT"), "C:\\DIR\\");
  Expect("ExtractShortPathName", ExtractShortPathName("no such file"), "");

  Expect("Debug", Debug() ? "on" : "off", "on");  // the test sets DEBUG=On

  // The exported variable: read at load, then pointed at a file of ours.
  Expect("LogName", LogName, "C:\\ZYL.LOG");
  static const char kLog[] = "consumer.log";
  std::remove(kLog);
  LogName = kLog;
  SendDebugMsg("hello from a consumer");
  const std::string log = ReadText(kLog);
  const std::size_t second_line = log.find('\n') + 1;
  Expect("SendDebugMsg, first line", log.substr(0, 5), "APP: ");
  Expect("SendDebugMsg, second line",
         log.substr(second_line, log.find('\n', second_line) - second_line),
         "hello from a consumer");
  Expect("SendDebugMsg, lines", std::to_string(std::count(log.begin(), log.end(), '\n')), "2");
  std::remove(kLog);

  std::printf("%s\n", failures == 0 ? "consumer: all exports answered" : "consumer: FAILED");
  return failures == 0 ? 0 : 1;
}
