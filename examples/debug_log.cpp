// Appends two records to a debug log in the temporary folder, reads them back and removes the
// file. The library writes to the file LogName names; it starts as C:\ZYL.LOG, which ordinary
// users often cannot create, so a program points it at a folder of its own first.

#include <zyl/zyl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

int main() {
  // A name of its own, so that two runs at once keep their records apart.
  const std::string name = "zizuduz-example-" + std::to_string(std::random_device{}()) + ".log";
  const std::string log = (std::filesystem::temp_directory_path() / name).string();
  LogName = log.c_str();  // the library keeps the pointer: `log` must outlive the logging

  SendDebugMsg("Example started.");
  SendDebugMsg(Debug() ? "DEBUG is on." : "DEBUG is off (set DEBUG=on to turn it on).");

  // Text mode: the CR LF line ends of Windows read as LF.
  std::ifstream in(log);
  const std::string records(std::istreambuf_iterator<char>(in), {});
  in.close();
  std::printf("%s holds:\n%s", log.c_str(), records.c_str());
  std::remove(log.c_str());
  return records.empty() ? 1 : 0;
}
