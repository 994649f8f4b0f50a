#ifndef ZYL_TOOLS_ZYL_LINE_BATCHES_H_
#define ZYL_TOOLS_ZYL_LINE_BATCHES_H_

#include <string>
#include <vector>

#include "line_splitter.h"
#include "output.h"
#include "string_batch.h"

namespace zyl::tool {

// A stream of lines, read a block at a time and handed out in batches of strings without their
// line ends (LF or CR LF): as many short lines as a StringBatch holds, or one long line alone.
// What `out` holds is written before each wait for input, as a filter in a pipe should.
class LineBatches {
 public:
  LineBatches(int fd, Output& out);

  // The next batch, which lasts until the next call; empty once the input has ended or could
  // not be read (problem() then says why). Throws std::bad_alloc for a line too long for memory.
  const StringBatch<std::string>& Next();
  const std::string& problem() const { return problem_; }

 private:
  bool ReadBlock();
  void TakeShortLines();

  int fd_;
  Output& out_;
  std::vector<char> block_;
  LineSplitter splitter_;
  std::size_t next_ = 0;  // the next of the block's lines to hand out
  bool ended_ = false;
  std::string problem_;
  StringBatch<std::string> lines_;
};

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_LINE_BATCHES_H_
