#include "collector_link.h"

#include <chrono>
#include <utility>

#include "commands.h"

namespace zyl::tool {
namespace {

// RELP's transaction numbers have at most nine digits and start again at 1 after the largest.
constexpr std::uint64_t kLargestTxnr = 999'999'999;
// What zyl offers at a session's start: the one version of the protocol, and syslog messages.
constexpr std::string_view kOffers =
    "relp_version=0\nrelp_software=zyl,1,https://example.invalid/zyl\ncommands=syslog";
// A frame's DATALEN field (RELP allows nine digits) and the header around it.
constexpr std::size_t kLongestHeader = 9 + 1 + 32 + 1 + 9 + 1;
constexpr std::size_t kReceiveBlock = 16 * 1024;
// Output already sent is let go of once it is this large, so the buffer does not grow forever.
constexpr std::size_t kCompactAt = 1 << 20;

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point until) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

std::string RelpFrame(std::uint64_t txnr, std::string_view command, std::string_view data) {
  std::string frame = std::to_string(txnr);
  frame += ' ';
  frame += command;
  frame += ' ';
  frame += std::to_string(data.size());
  if (!data.empty()) {
    frame += ' ';
    frame += data;
  }
  frame += '\n';
  return frame;
}

Parsed TakeRelpFrame(std::string& bytes, RelpReply* reply) {
  const std::size_t first = bytes.find(' ');
  const std::size_t second = first == std::string::npos ? first : bytes.find(' ', first + 1);
  const std::size_t length_end =
      second == std::string::npos ? second : bytes.find_first_not_of("0123456789", second + 1);
  if (length_end == std::string::npos) {
    return bytes.size() > kLongestHeader ? Parsed::kMalformed : Parsed::kPartial;
  }
  const auto txnr = ParseNumber<std::uint64_t>(std::string_view(bytes).substr(0, first));
  const auto length = ParseNumber<std::uint32_t>(
      std::string_view(bytes).substr(second + 1, length_end - second - 1));
  if (!txnr || !length || *length > kLargestTxnr || second - first - 1 > 32) {
    return Parsed::kMalformed;
  }
  // With data, a blank comes before it; without, the trailer follows the length at once.
  const std::size_t data_start = *length > 0 ? length_end + 1 : length_end;
  if (*length > 0 && bytes[length_end] != ' ') return Parsed::kMalformed;
  if (bytes.size() < data_start + *length + 1) return Parsed::kPartial;
  if (bytes[data_start + *length] != '\n') return Parsed::kMalformed;
  reply->txnr = *txnr;
  reply->command = bytes.substr(first + 1, second - first - 1);
  reply->data = bytes.substr(data_start, *length);
  bytes.erase(0, data_start + *length + 1);
  return Parsed::kWhole;
}

CollectorLink::CollectorLink(Protocol protocol, std::string host, std::string port)
    : protocol_(protocol), host_(std::move(host)), port_(std::move(port)) {}

CollectorLink::~CollectorLink() { Drop(); }

void CollectorLink::Drop() {
  if (connection_ != kNoConnection) Disconnect(connection_);
  connection_ = kNoConnection;
  waiting_.clear();
  out_.clear();
  out_start_ = 0;
  in_.clear();
}

bool CollectorLink::Open(int milliseconds, std::string* problem) {
  Drop();
  sent_ = acknowledged_ = 0;
  connection_ = Connect(host_, port_, problem);
  if (connection_ == kNoConnection) return false;
  if (protocol_ == Protocol::kTcp) return true;
  next_txnr_ = 1;
  waiting_.push_back({next_txnr_, 0, false});
  out_ = RelpFrame(next_txnr_++, "open", kOffers);
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(milliseconds);
  while (!waiting_.empty()) {
    if (!Pump(MillisecondsLeft(until), problem)) return false;
    if (!waiting_.empty() && MillisecondsLeft(until) == 0) {
      *problem = "no answer to the session's opening";
      Drop();
      return false;
    }
  }
  return true;
}

void CollectorLink::Send(std::string_view message) {
  ++sent_;
  if (protocol_ == Protocol::kTcp) {
    out_ += std::to_string(message.size());
    out_ += ' ';
    out_ += message;
    return;
  }
  waiting_.push_back({next_txnr_, sent_, false});
  out_ += RelpFrame(next_txnr_, "syslog", message);
  next_txnr_ = next_txnr_ == kLargestTxnr ? 1 : next_txnr_ + 1;
}

bool CollectorLink::Pump(int milliseconds, std::string* problem) {
  if (connection_ == kNoConnection) {
    *problem = "not connected";
    return false;
  }
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(milliseconds);
  const std::uint64_t acknowledged = acknowledged_;
  for (;;) {
    while (out_start_ < out_.size()) {
      const long sent = SendSome(connection_, std::string_view(out_).substr(out_start_), problem);
      if (sent < 0) return Drop(), false;
      if (sent == 0) break;
      out_start_ += static_cast<std::size_t>(sent);
    }
    if (out_start_ == out_.size() || out_start_ >= kCompactAt) {
      out_.erase(0, out_start_);
      out_start_ = 0;
    }
    // Over plain TCP what the system took is all the acknowledgement there is.
    if (protocol_ == Protocol::kTcp && out_.empty()) acknowledged_ = sent_;
    bool received = false;
    if (!Receive(&received, problem)) return Drop(), false;
    const int left = MillisecondsLeft(until);
    if (received || acknowledged_ != acknowledged || left == 0) return true;
    AwaitConnection(connection_, unsent_bytes() > 0, left);
  }
}

bool CollectorLink::Receive(bool* received, std::string* problem) {
  char block[kReceiveBlock];
  long got = 0;
  while ((got = ReceiveSome(connection_, block, sizeof block, problem)) > 0) {
    *received = true;
    in_.append(block, static_cast<std::size_t>(got));
  }
  if (protocol_ == Protocol::kTcp) {
    in_.clear();  // a syslog collector says nothing over plain TCP
    return got == 0;
  }
  // The acknowledgements that came before the connection's end count.
  RelpReply reply;
  for (;;) {
    const Parsed parsed = TakeRelpFrame(in_, &reply);
    if (parsed == Parsed::kPartial) return got == 0;
    if (parsed == Parsed::kMalformed) {
      *problem = "the collector sent something that is not RELP";
      return false;
    }
    if (!Answer(reply, problem)) return false;
  }
}

// An answer marks its transaction done; messages count as acknowledged in the order sent.
bool CollectorLink::Answer(const RelpReply& reply, std::string* problem) {
  if (reply.command == "serverclose") {
    *problem = "the collector closed the session";
    return false;
  }
  if (reply.command != "rsp") return true;  // nothing else is meant for a client; ignored
  Waiting* found = nullptr;
  for (Waiting& waiting : waiting_) {
    if (waiting.txnr == reply.txnr && !waiting.answered) {
      found = &waiting;
      break;
    }
  }
  if (found == nullptr) {
    *problem = "the collector answered transaction " + std::to_string(reply.txnr) +
               ", which was not asked";
    return false;
  }
  if (reply.data.compare(0, 3, "200") != 0) {
    *problem = "the collector refused: " + reply.data.substr(0, reply.data.find('\n'));
    return false;
  }
  found->answered = true;
  while (!waiting_.empty() && waiting_.front().answered) {
    if (waiting_.front().number != 0) acknowledged_ = waiting_.front().number;
    waiting_.pop_front();
  }
  return true;
}

void CollectorLink::Close(int milliseconds) {
  if (connection_ == kNoConnection) return;
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(milliseconds);
  std::string problem;
  while ((in_flight() > 0 || unsent_bytes() > 0) && MillisecondsLeft(until) > 0) {
    if (!Pump(MillisecondsLeft(until), &problem)) return;
  }
  if (protocol_ == Protocol::kRelp && in_flight() == 0) {
    waiting_.push_back({next_txnr_, 0, false});
    out_ += RelpFrame(next_txnr_, "close", "");
    while (!waiting_.empty() && MillisecondsLeft(until) > 0) {
      if (!Pump(MillisecondsLeft(until), &problem)) return;
    }
  }
  Drop();
}

}  // namespace zyl::tool
