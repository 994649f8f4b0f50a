#include "zyl_runner.h"

#include <fstream>

#include "test_support.h"

namespace zyl::testing {

std::string ZylPath() { return ExecutablePath("zyl"); }

ZylRun RunZyl(const std::vector<std::string>& args, const std::string& input) {
  const TempDir dir;
  const std::string in = dir.path() + "in";
  const std::string out = dir.path() + "out";
  const std::string err = dir.path() + "err";
  std::ofstream(in, std::ios::binary) << input;
  ZylRun run;
  run.status = RunRedirected(ZylPath(), args, in, out, err, 30000);
  run.out = ReadWholeFile(out);
  run.err = ReadWholeFile(err);
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    std::size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    lines.push_back(text.substr(start, stop - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace zyl::testing
