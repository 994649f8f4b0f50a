#ifndef ZYL_TOOLS_ZYL_SYSLOG_SINK_H_
#define ZYL_TOOLS_ZYL_SYSLOG_SINK_H_

// 'zyl show --syslog': hands each record to a local syslog daemon through its unix datagram socket
// (rsyslog's imuxsock, /dev/log), which carries it on. A record is one datagram: the priority
// user.info, the tag "zyl: ", then the record's bytes without the LF that ends every whole record.

#include <string>
#include <string_view>

namespace zyl::tool {

// The datagram that carries `record`.
std::string SyslogDatagram(std::string_view record);

class SyslogSink {
 public:
  // Fails at once, with a complaint, where there are no unix datagram sockets.
  explicit SyslogSink(std::string socket_path);
  ~SyslogSink();
  SyslogSink(const SyslogSink&) = delete;
  SyslogSink& operator=(const SyslogSink&) = delete;

  // Sends `record`, waiting and trying again for as long as nobody reads the socket or its queue
  // is full: a record is never skipped. True once sent; false when a stop was requested first,
  // and, with a complaint, when it can never go (too long for one datagram, no unix datagram
  // sockets on this system, a path too long for a socket).
  bool Send(std::string_view record);
  // Whether a record could never go; the sink then asked for a stop and sends nothing more.
  bool failed() const { return failed_; }

 private:
  bool Fail();

  std::string path_;
  int socket_ = -1;
  bool failed_ = false;
};

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_SYSLOG_SINK_H_
