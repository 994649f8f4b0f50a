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
// Waits grow from a queue's moment of fullness to a daemon's restart.
constexpr auto kFirstRetry = std::chrono::milliseconds(1);
constexpr auto kLongestRetry = std::chrono::milliseconds(100);

// The daemon is not there yet or away for a restart, or cannot keep up: worth waiting for.
bool DoorShut(int error) {
  return error == ENOENT || error == ECONNREFUSED || error == EAGAIN || error == EWOULDBLOCK ||
         error == ENOBUFS || error == ENOMEM || error == EINTR;
}

}  // namespace

std::string SyslogDatagram(std::string_view record) {
  if (!record.empty() && record.back() == '\n') record.remove_suffix(1);
  std::string datagram(kPrefix);
  datagram += record;
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

// What follows a record that cannot go must not go either: the run ends here, as at a stop.
bool SyslogSink::Fail() {
  failed_ = true;
  RequestStop();
  return false;
}

bool SyslogSink::Send(std::string_view record) {
  if (failed_) return false;
  const std::string datagram = SyslogDatagram(record);
  auto wait = kFirstRetry;
  bool said = false;
  for (;;) {
    if (StopRequested()) return false;
    const int error = SendDatagram(socket_, path_, datagram);
    if (error == 0) return true;
    if (!DoorShut(error)) {
      Complain("cannot hand a record of " + std::to_string(datagram.size()) + " bytes to " + path_ +
               ": " + std::strerror(error));
      return Fail();
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
