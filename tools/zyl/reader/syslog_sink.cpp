#include "syslog_sink.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

#include "output.h"
#include "system.h"

namespace zyl::tool {
namespace {

// user.info: facility 1, severity 6. The daemon stamps the time and host of its own.
constexpr std::string_view kPrefix = "<14>zyl: ";
constexpr std::string_view kPartPrefix = "<14>zyl-part: ";
// Waits grow from a queue's moment of fullness to a daemon's restart.
constexpr auto kFirstRetry = std::chrono::milliseconds(1);
constexpr auto kLongestRetry = std::chrono::milliseconds(100);

// The daemon is not there yet or away for a restart, or cannot keep up: worth waiting for.
bool DoorShut(int error) {
  return error == ENOENT || error == ECONNREFUSED || error == EAGAIN || error == EWOULDBLOCK ||
         error == ENOBUFS || error == ENOMEM || error == EINTR;
}

std::string_view WithoutLastLf(std::string_view bytes) {
  if (!bytes.empty() && bytes.back() == '\n') bytes.remove_suffix(1);
  return bytes;
}

}  // namespace

std::string SyslogDatagram(std::string_view record) {
  std::string datagram(kPrefix);
  datagram += WithoutLastLf(record);
  return datagram;
}

SyslogSink::SyslogSink(std::string socket_path) : path_(std::move(socket_path)) {
  std::string problem;
  if ((socket_ = OpenDatagramSocket(&problem)) < 0) {
    Complain("--syslog " + path_ + ": " + problem);
    Fail();
  }
}

SyslogSink::~SyslogSink() {
  if (socket_ >= 0) CloseSocket(socket_);
}

// What follows something that cannot go must not go either: the run ends here, as at a stop.
bool SyslogSink::Fail() {
  failed_ = true;
  RequestStop();
  return false;
}

bool SyslogSink::Send(std::string_view record) {
  if (failed_) return false;
  const std::string datagram = SyslogDatagram(record);
  const Sent sent = datagram.size() <= kLargestDatagram ? Deliver(datagram, true) : Sent::kTooLong;
  if (sent == Sent::kTooLong) return SendPiece(record, true);
  if (sent == Sent::kFailed) return Fail();
  return sent == Sent::kYes;
}

// Once a part has gone, the rest of the piece follows even at a stop: a part never goes twice.
bool SyslogSink::SendPiece(std::string_view bytes, bool last) {
  if (failed_) return false;
  if (last) bytes = WithoutLastLf(bytes);
  bool first = true;
  do {
    const std::string_view part = bytes.substr(0, kPartSize);
    const Sent sent = Deliver(std::string(kPartPrefix) += part, first);
    if (sent != Sent::kYes) {
      if (sent == Sent::kTooLong) Complain("no part fits a datagram to " + path_);
      return sent == Sent::kStopped ? false : Fail();
    }
    bytes.remove_prefix(part.size());
    first = false;
  } while (!bytes.empty());
  return true;
}

SyslogSink::Sent SyslogSink::Deliver(const std::string& datagram, bool stoppable) {
  auto wait = kFirstRetry;
  bool said = false;
  for (;;) {
    if (stoppable && StopRequested()) return Sent::kStopped;
    const int error = SendDatagram(socket_, path_, datagram);
    if (error == 0) return Sent::kYes;
    if (error == EMSGSIZE) return Sent::kTooLong;
    if (!DoorShut(error)) {
      Complain("cannot hand a record to " + path_ + ": " + std::strerror(error));
      return Sent::kFailed;
    }
    // A full queue is the daemon's pace, not news.
    if (!said && (error == ENOENT || error == ECONNREFUSED)) {
      Complain("waiting for " + path_ + ": " + std::strerror(error));
      said = true;
    }
    std::this_thread::sleep_for(wait);
    wait = std::min(wait * 2, kLongestRetry);
  }
}

}  // namespace zyl::tool
