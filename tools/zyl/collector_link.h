#ifndef ZYL_TOOLS_ZYL_COLLECTOR_LINK_H_
#define ZYL_TOOLS_ZYL_COLLECTOR_LINK_H_

// 'zyl ship''s connection to a syslog collector: RELP, rsyslog's acknowledged protocol (imrelp),
// or plain syslog over TCP with octet-counted framing. Messages are numbered 1, 2, ... in the
// order given; acknowledged() says up to which one the collector has taken every message. Over
// plain TCP a message counts as taken once the system has it: what is in flight when the
// collector stops is lost.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "system.h"

namespace zyl::tool {

enum class Protocol { kRelp, kTcp };

// One RELP frame: "TXNR SP COMMAND SP DATALEN [SP DATA] LF".
std::string RelpFrame(std::uint64_t txnr, std::string_view command, std::string_view data);

// A frame the collector sent, as far as it is whole.
struct RelpReply {
  std::uint64_t txnr = 0;
  std::string command;
  std::string data;
};
enum class Parsed { kWhole, kPartial, kMalformed };
// Takes the first frame off the front of `bytes` when it is whole.
Parsed TakeRelpFrame(std::string& bytes, RelpReply* reply);

class CollectorLink {
 public:
  CollectorLink(Protocol protocol, std::string host, std::string port);
  ~CollectorLink();
  CollectorLink(const CollectorLink&) = delete;
  CollectorLink& operator=(const CollectorLink&) = delete;

  // Connects and, over RELP, opens a session, waiting up to `milliseconds` for its answer;
  // false, with why in `problem`, when the collector cannot be reached or refuses.
  bool Open(int milliseconds, std::string* problem);
  // Queues `message` to go; its number is sent().
  void Send(std::string_view message);
  // Sends and receives for up to `milliseconds`, less once something was received; false, with
  // why in `problem`, once the connection failed: the link must be opened anew.
  bool Pump(int milliseconds, std::string* problem);
  // At a stop: waits up to `milliseconds` for the messages in flight to be acknowledged, then
  // closes the session. Whatever it returns, the link is closed.
  void Close(int milliseconds);

  std::uint64_t sent() const { return sent_; }
  std::uint64_t acknowledged() const { return acknowledged_; }
  std::uint64_t in_flight() const { return sent_ - acknowledged_; }
  // Bytes given to Send that the system has not taken yet.
  std::size_t unsent_bytes() const { return out_.size() - out_start_; }

 private:
  bool Receive(bool* received, std::string* problem);
  bool Answer(const RelpReply& reply, std::string* problem);
  void Drop();

  Protocol protocol_;
  std::string host_, port_;
  Connection connection_ = kNoConnection;
  std::uint64_t sent_ = 0, acknowledged_ = 0;
  std::uint64_t next_txnr_ = 1;
  struct Waiting {
    std::uint64_t txnr, number;  // number 0: not a message (open, close)
    bool answered;
  };
  std::deque<Waiting> waiting_;  // in the order sent
  std::string out_;              // bytes to send, from out_start_
  std::size_t out_start_ = 0;
  std::string in_;  // received, not yet a whole frame
};

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_COLLECTOR_LINK_H_
