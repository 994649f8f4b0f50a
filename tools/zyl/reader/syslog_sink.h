#ifndef ZYL_TOOLS_ZYL_READER_SYSLOG_SINK_H_
#define ZYL_TOOLS_ZYL_READER_SYSLOG_SINK_H_

// 'zyl show --syslog': hands each record to a local syslog daemon through its unix datagram socket
// (rsyslog's imuxsock, /dev/log), which carries it on. A record is one datagram: the priority
// user.info, the tag "zyl: ", then the record's bytes without the LF that ends every whole record.
// A record too long for one datagram goes in parts, in order, tagged "zyl-part: " instead.

#include <cstddef>
#include <string>
#include <string_view>

namespace zyl::tool {

// The datagram that carries `record` whole.
std::string SyslogDatagram(std::string_view record);

class SyslogSink {
 public:
  // Past this a record goes in parts: rsyslog's maxMessageSize must be above it.
  static constexpr std::size_t kLargestDatagram = 1 << 20;
  // A part fits the smallest send buffer Linux gives by default.
  static constexpr std::size_t kPartSize = 64 * 1024;

  // Fails at once, with a complaint, where there are no unix datagram sockets.
  explicit SyslogSink(std::string socket_path);
  ~SyslogSink();
  SyslogSink(const SyslogSink&) = delete;
  SyslogSink& operator=(const SyslogSink&) = delete;

  // Sends `record`, waiting and trying again for as long as nobody reads the socket or its queue
  // is full: a record is never skipped. True once sent; false when a stop was requested first,
  // and, with a complaint, when it cannot go (no unix datagram sockets, a path too long for one).
  bool Send(std::string_view record);
  // Sends a piece of a record too long to pass whole; `last`: the piece that ends it.
  bool SendPiece(std::string_view bytes, bool last);
  // Whether something could not go; the sink then asked for a stop and sends nothing more.
  bool failed() const { return failed_; }

 private:
  enum class Sent { kYes, kStopped, kTooLong, kFailed };
  Sent Deliver(const std::string& datagram, bool stoppable);
  bool Fail();

  std::string path_;
  int socket_ = -1;
  bool failed_ = false;
};

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_READER_SYSLOG_SINK_H_
