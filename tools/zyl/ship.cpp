#include "ship.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <deque>
#include <memory>
#include <thread>
#include <utility>

#include "collector_link.h"
#include "commands.h"
#include "cursor.h"
#include "diag/log_format.h"
#include "diag/log_generations.h"
#include "log_files.h"
#include "time_words.h"

namespace zyl::tool {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Enough messages in flight to keep the connection busy while the collector acknowledges.
constexpr std::uint64_t kWindow = 1024;
// Bytes handed to the link that the system has not taken yet; past this zyl waits.
constexpr std::size_t kMostUnsent = 4 << 20;
// Past this many bytes waiting to go, they are pushed on before more are read.
constexpr std::size_t kPushAt = 64 * 1024;
// collector.conf's imrelp takes messages up to 4 MiB and truncates a longer one: a record whose
// message would be longer goes in parts, each a message of its own, never truncated.
constexpr std::size_t kLargestMessage = (4 << 20) - 4096;
// A part's bytes: three times as long with their hex beside them, it still fits.
constexpr std::size_t kPart = 1 << 20;
constexpr int kLookEvery = 250;  // milliseconds, as 'zyl show --follow'
// The cursor, when it moved: a SIGKILL sends again what was acknowledged since, and what was in
// flight. While records are read and sent, a slow save (a large cursor, of many generations read
// within seconds, or a slow file system) comes less often, taking at most a fifth of the time;
// once all is read, as soon as the last one is done.
constexpr auto kSaveEvery = milliseconds(2);
constexpr int kSaveShare = 5;
// While a long read sends, the acknowledgements that came are taken after each push, at most this
// often, so the cursor follows them.
constexpr auto kHearEvery = milliseconds(1);
constexpr int kOpenWait = 10'000;                    // for the collector's answer to an opening
constexpr int kCloseWait = 10'000;                   // for acknowledgements at a stop
constexpr auto kSilence = std::chrono::seconds(60);  // with records in flight, then reconnect
constexpr auto kFirstRetry = milliseconds(500);      // then twice as long each time
constexpr auto kLongestRetry = milliseconds(30'000);

bool IsUtf8WithoutNul(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t size = text[i] == '\0' ? 0 : Utf8CharSize(text.substr(i));
    if (size == 0) return false;
    i += size;
  }
  return true;
}

// Neither the log nor a generation of it is there yet: waited for, where one that cannot be read
// is a fault.
bool LogMissing(const std::string& log) {
  return !StatFile(log).exists && ListGenerations(log).empty();
}

class Shipper {
 public:
  Shipper(std::string log, std::string cursor_path, CollectorLink& link, std::string target)
      : log_(std::move(log)),
        cursor_path_(std::move(cursor_path)),
        link_(link),
        target_(std::move(target)),
        host_(HostName()) {}

  Status Run() {
    std::string problem;
    std::optional<Cursor> loaded;
    if (!LoadCursor(cursor_path_, &loaded, &problem)) {
      Complain("cannot read " + cursor_path_ + ": " + problem);
      return kFailed;
    }
    acked_ = std::move(loaded);
    auto retry = kFirstRetry;
    while (!StopRequested()) {
      if (!link_.Open(kOpenWait, &problem)) {
        Away(problem);
        Pause(retry);
        retry = std::min(retry * 2, kLongestRetry);
        continue;
      }
      if (away_) Complain("reached " + target_ + " again");
      away_ = false;
      const Clock::time_point start = Clock::now();
      const Status status = Session();
      if (status != kOk) return status;
      // A collector that takes the connection and then fails every time is not hammered.
      if (link_.acknowledged() > 0 || Clock::now() - start > kLongestRetry) {
        retry = kFirstRetry;
      } else if (!StopRequested()) {
        Pause(retry);
        retry = std::min(retry * 2, kLongestRetry);
      }
    }
    return Save(When::kNow) ? kOk : kFailed;
  }

 private:
  // Reads and sends until a stop or until the connection fails; then what was not acknowledged
  // is read again from the cursor by the next session.
  Status Session() {
    snapshots_.clear();
    assembly_.clear();
    parts_ = 0;
    logs_ = std::make_unique<LogFiles>(
        log_, true, [this](LogEntry& entry, const std::string& file) { return Take(entry, file); });
    if (acked_) logs_->Resume(*acked_);
    bool unread_told = !acked_;
    broken_ = false;
    heard_ = Clock::now();
    bool waiting_said = false;
    const auto go_on = [this] { return !broken_ && !StopRequested(); };
    while (!StopRequested() && !broken_) {
      std::string problem;
      new_look_ = true;
      if (!logs_->Look(&problem, go_on)) {
        if (!LogMissing(log_)) {
          Complain("cannot read " + problem);
          return kFailed;
        }
        if (!waiting_said) Complain("waiting for " + log_ + " to be written");
        waiting_said = true;
      } else {
        if (!unread_told) TellUnread();
        unread_told = true;
        if (go_on() && assembly_.empty() && parts_ == 0) Snapshot();  // all read so far
      }
      // Acknowledgements come while zyl waits for the next look: the cursor follows them.
      const Clock::time_point next = Clock::now() + milliseconds(kLookEvery);
      while (!broken_ && !StopRequested() && Clock::now() < next) {
        const auto left = std::chrono::duration_cast<milliseconds>(next - Clock::now());
        Pump(static_cast<int>(std::min(left, kSaveEvery).count()));
        if (!Save(When::kIdle)) return kFailed;
      }
      if (failed_) return kFailed;
    }
    if (StopRequested() && !broken_) {
      link_.Close(kCloseWait);
      Advance();
    }
    logs_.reset();
    return kOk;
  }

  // Generations numbered between the newest the cursor accounted for and the lowest there now
  // were rotated away and removed (KEEP) before they were read: said, never passed over silently.
  void TellUnread() const {
    const auto known = acked_->newest.find(log_);
    const std::uint64_t newest = known != acked_->newest.end() ? known->second : 0;
    const std::vector<Generation> now = ListGenerations(log_);
    if (now.empty() || now.front().number <= newest + 1) return;
    std::string unread = std::to_string(newest + 1);
    if (now.front().number > newest + 2) unread += " to " + std::to_string(now.front().number - 1);
    std::string from;
    for (const FilePlace& place : acked_->files) {
      if (place.name == log_)
        from = " (the first of them from byte " + std::to_string(place.offset) + ")";
    }
    Complain("generations " + unread + " of " + log_ +
             " were removed before they were read: their records" + from +
             " never reached the collector");
  }

  // An entry from the reader: sent, or refused at a stop or a failed link, after which this
  // reader is done with and the next reads again from the acknowledged cursor.
  bool Take(LogEntry& entry, const std::string& file) {
    if (broken_ || StopRequested()) return false;
    if (entry.time) entry.instant = instants_.Read(*entry.time);
    if (assembly_.empty() && parts_ == 0) {
      Snapshot();  // before the entry: a record is never split by the cursor
      Identify(file);
    }
    if (entry.piece == 0 || !entry.is_record) {
      if (!Room()) return false;
      const std::string_view text =
          entry.is_record ? log_format::WithoutLastLineEnd(entry.text, entry.crlf) : entry.text;
      Send(text, {{id_, entry.offset, 0},
                  entry.time,
                  entry.is_record,
                  entry.message_begin,
                  entry.is_record && entry.crlf,
                  entry.instant});
      return true;
    }
    // A record in pieces: gathered into one message, or sent in parts when that is too long.
    if (entry.piece == 1) {
      facts_ = {{id_, entry.offset, 0}, entry.time, true,
                entry.message_begin,    entry.crlf, entry.instant};
      parted_ = 0;
    }
    assembly_ += entry.text;
    if (entry.cut && assembly_.size() <= kLargestMessage) return true;
    const std::string_view bytes = entry.cut
                                       ? std::string_view(assembly_)
                                       : log_format::WithoutLastLineEnd(assembly_, facts_.crlf);
    if (!entry.cut && parts_ == 0) {
      std::string message = SyslogMessage(bytes, facts_, host_);
      if (message.size() <= kLargestMessage) {
        if (!Room()) return false;
        Queue(message);
        assembly_.clear();
        return true;
      }
    }
    for (std::size_t at = 0; at < bytes.size(); at += kPart) {
      if (!Room()) return false;
      MessageFacts part = facts_;
      part.id = {facts_.id.file, facts_.id.offset + parted_ + at, ++parts_};
      if (parts_ > 1) part.header = 0;
      Send(bytes.substr(at, kPart), part);
    }
    parted_ += assembly_.size();
    assembly_.clear();
    if (!entry.cut) parts_ = 0;
    return true;
  }

  void Queue(const std::string& message) {
    link_.Send(message);
    if (link_.unsent_bytes() >= kPushAt) Pump(0);
  }

  void Send(std::string_view text, const MessageFacts& facts) {
    Queue(SyslogMessage(text, facts, host_));
  }

  // Waits until the window has room for one more message; false when the link failed or a stop
  // came first.
  bool Room() {
    // Only once what was sent has gone: a message pushed alone has its acknowledgement answered
    // at once, and the next ones' held back by the collector's system until this end's delayed
    // ACK (40 ms).
    if (link_.in_flight() > 0 && link_.unsent_bytes() == 0 &&
        Clock::now() - pumped_ >= kHearEvery) {
      Pump(0);
    }
    while (!broken_ && (link_.in_flight() >= kWindow || link_.unsent_bytes() >= kMostUnsent)) {
      if (StopRequested()) return false;
      Pump(100);
    }
    if (!broken_ && !Save(When::kBusy)) failed_ = broken_ = true;
    return !broken_;
  }

  void Pump(int wait) {
    std::string problem;
    const std::uint64_t acknowledged = link_.acknowledged();
    bool ok = link_.Pump(wait, &problem);
    pumped_ = Clock::now();
    Advance();
    if (!Save(When::kBusy)) failed_ = broken_ = true;
    // A connection that went dead without a word (a host gone, a cable pulled) is opened anew;
    // what was in flight goes again.
    const Clock::time_point now = Clock::now();
    if (link_.acknowledged() != acknowledged || link_.in_flight() == 0) heard_ = now;
    if (ok && now - heard_ > kSilence) {
      link_.Close(0);
      problem = "no acknowledgement for " +
                std::to_string(std::chrono::duration_cast<std::chrono::seconds>(kSilence).count()) +
                " s";
      ok = false;
    }
    if (!ok) {
      broken_ = true;
      Away(problem);
    }
  }

  // The file the entries of `file` come from: looked up once per file and look, as a name may
  // stand for another file at the next look.
  void Identify(const std::string& file) {
    if (!new_look_ && file == file_) return;
    Cursor now;
    logs_->Keep(now);
    for (const FilePlace& place : now.files) {
      if (place.name == file) id_ = place.id;  // the newest of that name: the one read now
    }
    file_ = file;
    new_look_ = false;
  }

  // Where reading stands now: the cursor, once every message sent so far is acknowledged.
  void Snapshot() {
    Cursor now;
    logs_->Keep(now);
    snapshots_.push_back({link_.sent(), std::move(now)});
  }

  void Advance() {
    while (!snapshots_.empty() && snapshots_.front().sent <= link_.acknowledged()) {
      acked_ = std::move(snapshots_.front().cursor);
      snapshots_.pop_front();
      moved_ = true;
    }
  }

  enum class When { kNow, kIdle, kBusy };
  bool Save(When when) {
    const Clock::time_point start = Clock::now();
    // Idle with nothing in flight, the cursor is where a kill would resend from: saved at once.
    const bool soon = link_.in_flight() > 0 && start - saved_ < kSaveEvery;
    if (!moved_ || (when == When::kBusy && start < next_save_) || (when == When::kIdle && soon)) {
      return true;
    }
    std::string problem;
    if (!SaveCursor(cursor_path_, *acked_, &problem)) {
      Complain("cannot write " + cursor_path_ + ": " + problem);
      return false;
    }
    moved_ = false;
    saved_ = Clock::now();
    next_save_ =
        saved_ + std::max<Clock::duration>(kSaveEvery, (saved_ - start) * (kSaveShare - 1));
    return true;
  }

  // Said once per outage.
  void Away(const std::string& problem) {
    if (!away_) Complain("cannot ship to " + target_ + ": " + problem + "; trying again");
    away_ = true;
  }

  void Pause(Clock::duration length) {
    const Clock::time_point until = Clock::now() + length;
    while (!StopRequested() && Clock::now() < until) {
      std::this_thread::sleep_for(milliseconds(50));
    }
  }

  const std::string log_, cursor_path_;
  CollectorLink& link_;
  const std::string target_, host_;
  std::unique_ptr<LogFiles> logs_;
  struct Taken {
    std::uint64_t sent;  // messages sent when it was taken
    Cursor cursor;
  };
  std::deque<Taken> snapshots_;
  std::optional<Cursor> acked_;  // past the last record acknowledged
  bool moved_ = false;           // past where the saved cursor stands
  Clock::time_point saved_, next_save_, pumped_;
  Clock::time_point heard_ = Clock::now();  // the last acknowledgement, or nothing in flight
  bool broken_ = false, failed_ = false, away_ = false, new_look_ = true;
  std::string file_;  // the name Identify last looked up, and its file
  platform::FileId id_{};
  std::string assembly_;    // the pieces of a record so far
  MessageFacts facts_;      // of the record in pieces
  InstantReader instants_;  // of the records' times, in the order taken
  std::size_t parts_ = 0;   // sent of the record in pieces
  std::size_t parted_ = 0;  // its bytes sent in parts
};

// Splits "HOST:PORT"; "[::1]:514" for an IPv6 address.
bool SplitTarget(const std::string& target, std::string* host, std::string* port) {
  const std::size_t colon = target.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == target.size()) return false;
  *host = target.substr(0, colon);
  *port = target.substr(colon + 1);
  if (host->size() > 2 && host->front() == '[' && host->back() == ']') {
    *host = host->substr(1, host->size() - 2);
  }
  return ParseNumber<std::uint16_t>(*port).has_value();
}

}  // namespace

std::string SyslogMessage(std::string_view text, const MessageFacts& facts, std::string_view host) {
  std::string stamp =
      facts.time ? IsoText(*facts.time, facts.instant ? facts.instant : LocalInstant(*facts.time))
                 : "-";
  if (stamp.size() == 19) stamp = "-";  // without its UTC offset the time is no RFC 5424 one
  std::string message = "<14>1 " + stamp + " ";
  message += host;
  const RecordId& id = facts.id;
  message += " zyl - - [zyl@32473 file=\"" + std::to_string(id.file.volume) + ":" +
             std::to_string(id.file.index) + "\" offset=\"" + std::to_string(id.offset) + "\"";
  if (id.part > 0) message += " part=\"" + std::to_string(id.part) + "\"";
  if (facts.header > 0) message += " header=\"" + std::to_string(facts.header) + "\"";
  if (facts.crlf) message += " crlf=\"true\"";
  if (!facts.is_record) message += " record=\"false\"";
  if (!IsUtf8WithoutNul(text)) message += " hex=\"" + Hex(text) + "\"";
  message += "] ";
  message += text;
  return message;
}

void DefineShip(CLI::App* app, Arguments* args) {
  // No '-': a ship never ends, so one for each line of standard input would ship the first alone.
  app->add_option("FILE", args->text, "the log; its generations come with it")
      ->required()
      ->type_name("");
  app->add_option("--to", args->to, "the collector, HOST:PORT")->type_name("HOST:PORT")->required();
  app->add_option("--state", args->state, "a folder of its own, for the cursor")
      ->type_name("DIR")
      ->required();
  app->add_option("--protocol", args->protocol, "relp (acknowledged; default) or tcp")
      ->type_name("NAME")
      ->check(CLI::IsMember({"relp", "tcp"}));
}

Status RunShip(const Arguments& args, Output& /*out*/) {
  std::string host, port;
  if (!SplitTarget(args.to, &host, &port)) {
    Complain("--to " + args.to + ": not HOST:PORT");
    return kUsage;
  }
  if (!StatFile(args.state).exists) {
    Complain("--state " + args.state + ": no such folder");
    return kFailed;
  }
  CatchStopRequests();
  CollectorLink link(args.protocol == "tcp" ? Protocol::kTcp : Protocol::kRelp, host, port);
  Shipper shipper(args.text, args.state + "/cursor", link, args.to);
  return shipper.Run();
}

}  // namespace zyl::tool
