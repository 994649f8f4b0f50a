#ifndef ZYL_DIAG_LOG_ROTATION_H_
#define ZYL_DIAG_LOG_ROTATION_H_

// Appending a record to the log, and rotating the log once it reaches the size that the
// environment variable ZYL_LOG_ROTATE=SIZE[,KEEP] asks for. Every writer keeps that size
// together: the one whose record reaches it renames the log to its next generation
// (log_generations.h) under the rotation lock, after checking that the log's name still names the
// file it wrote to; the next record starts the log anew.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "diag/log_generations.h"
#include "platform/platform.h"

namespace zyl {

inline constexpr char kRotateVariable[] = "ZYL_LOG_ROTATE";

struct RotationPolicy {
  std::uint64_t size;    // a record that ends at or past it rotates the log
  std::size_t keep = 5;  // the generations kept
};

// The policy of a value of ZYL_LOG_ROTATE: SIZE in bytes, with an optional K, M or G (either
// case; powers of 1024), at least 1; KEEP at least 1. Nullopt for anything else, blanks included.
std::optional<RotationPolicy> ParseRotation(std::string_view value);

struct RotationSetting {
  bool set = false;  // the variable is set and not empty
  std::optional<RotationPolicy> policy;
};
// The environment's setting, read anew at each call.
RotationSetting RotationFromEnvironment();

// Appends `record` to the log `path` in one piece, then rotates the log when the environment asks
// for it and the record reached the size; false when not all of the record was written. Unset, a
// record costs the open, one append and the close. A rotation that fails leaves the record where
// it is.
bool AppendRecord(const char* path, std::string_view record);

// Where an appended record ends: the file it landed in and the offset just past it.
struct RecordPlace {
  platform::FileId file;
  std::uint64_t end = 0;
};

struct AppendResult {
  bool whole = false;                // all of the record was written
  std::optional<RecordPlace> place;  // where the system tells it
  std::string rotation_problem;      // why a rotation the record asked for failed
};

// AppendRecord, for a writer that reads its record back: also where the record went.
AppendResult AppendRecordAndPlace(const char* path, std::string_view record);

// Rotates the log `path` now, whatever its size, by the writers' rules. Rotation::generation is
// empty and Rotation::problem too when there is nothing to rotate: no file, or an empty one. A
// log that a writer rotated meanwhile counts as rotated (Rotation::elsewhere), `generation` naming
// where it is now unless it is gone already.
Rotation RotateNow(const std::string& path, std::size_t keep);

}  // namespace zyl

#endif  // ZYL_DIAG_LOG_ROTATION_H_
