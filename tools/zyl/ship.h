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

// The RFC 5424 message for `text`, a record's bytes without its last line end (or bytes of no
// record, as they are): user.info, the record's `time` (none: "-"), `host`, app name zyl, and
// the structured data [zyl@32473 file="VOLUME:INDEX" offset="N"], with part="N" for a part,
// record="false" for bytes of no record, and hex="..." (the exact bytes) when `text` is not
// UTF-8 or holds a NUL, which a collector cannot keep as it is.
std::string SyslogMessage(std::string_view text, const std::optional<LogTime>& time,
                          bool is_record, const RecordId& id, std::string_view host);

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_SHIP_H_
