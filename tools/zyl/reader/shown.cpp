#include "shown.h"

#include "system.h"

namespace zyl::tool {
namespace {

// What --last holds of its records' bytes; the rest of a file's it reads again when it shows them.
constexpr std::uint64_t kHeldBytes = 32 << 20;

}  // namespace

Shown::~Shown() {
  for (const auto& [file, fd] : reopened_) CloseFile(fd);
}

bool Shown::Take(LogEntry& entry, const std::string& file) {
  if (entry.time && (matcher_.since || matcher_.until || style_.json)) {
    entry.instant = instants_.Read(*entry.time);
  }
  if (!matcher_.Matches(entry) || last_ == 0u) return true;  // --last 0 shows nothing
  if (!last_) {
    Print(entry, file);
    return true;
  }
  // --last counts records: the pieces of one that follow each other go out together.
  const bool starts = entry.piece <= 1 || held_.empty() || held_.back().file != file ||
                      held_.back().entry.offset + held_.back().size() != entry.offset;
  held_.push_back({starts, std::move(entry), file});
  Hold(held_.back());
  if (starts && ++held_records_ > *last_) {
    do {
      held_bytes_ -= held_.front().entry.text.size();
      held_.pop_front();
    } while (!held_.front().starts);
    --held_records_;
  }
  return true;
}

void Shown::EndOfFile() {
  if (spill_ != nullptr) std::fflush(spill_.get());
  for (Held& held : held_) {
    if (held.reread != 0) ReadAgain(held);
    Print(held.entry, held.file);
    if (held.reread != 0) std::string().swap(held.entry.text);  // its memory too
  }
  held_.clear();
  held_bytes_ = 0;
  for (const auto& [file, fd] : reopened_) CloseFile(fd);
  reopened_.clear();
  spill_.reset();
  spilled_ = 0;
  last_.reset();
}

Status Shown::Finish() {
  EndOfFile();
  if (style_.count) counter_.Print(style_.escape, out_);
  if (open_line_ && style_.escape) out_.Write("\n");  // the prompt after it on a line of its own
  return shown_ ? kOk : kNoResult;
}

// Keeps the entry's bytes while they fit in kHeldBytes; beyond, a file's are read again from it,
// and standard input's from a temporary file they are written to.
void Shown::Hold(Held& held) {
  const std::size_t size = held.entry.text.size();
  held.fd = held_bytes_ + size <= kHeldBytes ? -1
            : held.file == "-"               ? Spill(held)
                                             : Reopened(held.file);
  if (held.fd < 0) {
    held_bytes_ += size;
    return;
  }
  if (held.file != "-") held.at = held.entry.offset;
  held.reread = size;
  std::string().swap(held.entry.text);  // its memory too
}

// Opened right after the read: a rotation may rename the file later, but this stays it.
int Shown::Reopened(const std::string& file) {
  auto [at, opened] = reopened_.try_emplace(file, -1);
  std::string problem;
  if (opened) at->second = OpenForReading(file, &problem);
  return at->second;
}

int Shown::Spill(Held& held) {
  if (spill_ == nullptr && !spill_failed_) spill_.reset(std::tmpfile());
  const std::string& text = held.entry.text;
  if (spill_ == nullptr || std::fwrite(text.data(), 1, text.size(), spill_.get()) != text.size()) {
    spill_failed_ = true;  // its end is unknown now: held in memory from here
    spill_.reset();
    return -1;
  }
  held.at = spilled_;
  spilled_ += text.size();
  return fileno(spill_.get());
}

void Shown::ReadAgain(Held& held) {
  std::string& text = held.entry.text;
  text.resize(held.reread);
  std::size_t got = 0;
  while (got < text.size() && (got > 0 || SeekTo(held.fd, held.at))) {
    const long n = ReadPatiently(held.fd, text.data() + got, text.size() - got);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got < text.size()) {
    text.resize(got);
    Complain(held.file + ", byte " + std::to_string(held.entry.offset) +
             ": cut short while read, shown as it is now");
  }
}

void Shown::Print(const LogEntry& entry, const std::string& file) {
  shown_ = true;
  if (style_.count) return counter_.Add(entry);
  if (style_.json) return out_.Line(JsonLine(entry, style_.escape, file == named_ ? "" : file));
  // The bytes as written: a line end is added only between entries apart in the files.
  if (open_line_ && (entry.offset != end_ || file != end_file_)) out_.Write("\n");
  const std::string note = after_cut_ && !entry.is_record ? "" : NoteOn(entry, file);
  after_cut_ = entry.cut;
  if (!note.empty()) {
    out_.Flush();  // the note beside the bytes it is about
    Complain(note);
  }
  PrintText(entry, style_.escape, out_);
  end_ = entry.offset + entry.text.size();
  end_file_ = file;
  open_line_ = !entry.text.empty() && entry.text.back() != '\n';
}

}  // namespace zyl::tool
