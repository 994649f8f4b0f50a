// Trims and pads strings and takes paths apart with ZIZUDUZ, printing each result in brackets.
// Paths split at '\' and ':' only, the Windows way, on every system.

#include <zyl/zyl.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

void Show(const char* call, const std::string& result) {
  std::printf("%-36s [%s]\n", call, result.c_str());
}

}  // namespace

int main() {
  Show("ZYLTrim(\"  report.txt \\r\\n\")", ZYLTrim("  report.txt \r\n"));
  Show("ZYLTrimLeft(\"  left  \")", ZYLTrimLeft("  left  "));
  Show("ZYLTrimRight(\"  right  \")", ZYLTrimRight("  right  "));

  // ZYLString is a std::string with an integer constructor, among a few additions.
  Show("PadString(42, '0', 5, left)", PadString(ZYLString(42), '0', 5, /*pad_left=*/true));
  Show("PadString(\"abc\", '.', 6, right)", PadString("abc", '.', 6, /*pad_left=*/false));

  const ZYLString path = "C:\\Reports\\2006\\march.txt";
  Show("ExtractFilePath(path)", ExtractFilePath(path));
  Show("ExtractFileName(path)", ExtractFileName(path));

  // Only an existing path has a short (8.3) form; on Linux it is the path itself.
  const std::string temp = std::filesystem::temp_directory_path().string();
  Show("temp_directory_path()", temp);
  Show("ExtractShortPathName(temp)", ExtractShortPathName(temp));
  Show("ExtractShortPathName(\"no such file\")", ExtractShortPathName("no such file"));
  return 0;
}
