#ifndef ZYL_TOOLS_ZYL_SHIP_H_
#define ZYL_TOOLS_ZYL_SHIP_H_

// 'zyl ship': reads the log and its generations as 'zyl show --follow' does and sends each record
// to a syslog collector (collector_link.h), keeping in its state folder a cursor that never
// passes a record the collector has not acknowledged.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "record_reader.h"
#include "system.h"

namespace zyl::tool {

// Where a message's bytes start in the log: a receiver drops a message it already has by it.
struct RecordId {
  platform::FileId file;
  std::uint64_t offset = 0;
  std::size_t part = 0;  // of a record too long for one message: 1, 2, ...; 0: whole
};

// What a message says of its bytes besides them.
struct MessageFacts {
  RecordId id;
  std::optional<LogTime> time;  // none: its writer did not know it
  bool is_record = true;
  std::size_t header = 0;  // the length of the record's header line with its end; 0: none here
  bool crlf = false;       // a Windows record: its lines end in CR LF
  std::optional<std::int64_t> instant;  // of `time`, read in the order written; none: on its own
};

// The RFC 5424 message for `text`, a record's bytes without its last line end (or bytes of no
// record, as they are): user.info, the record's time ("-" unknown), `host`, app name zyl, and
// the structured data [zyl@32473 file="VOLUME:INDEX" offset="N"], with part="N" for a part,
// header="N" and crlf="true" as `facts` say, record="false" for bytes of no record, and
// hex="..." (the exact bytes) when `text` is not UTF-8 or holds a NUL, which a collector cannot
// keep as it is.
std::string SyslogMessage(std::string_view text, const MessageFacts& facts, std::string_view host);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_SHIP_H_
