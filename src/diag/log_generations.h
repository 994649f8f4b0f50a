#ifndef ZYL_DIAG_LOG_GENERATIONS_H_
#define ZYL_DIAG_LOG_GENERATIONS_H_

// The names of a log's generations, the files a rotation renames it to: "C:\ZYL.LOG" becomes
// "C:\ZYL.1.LOG", then "C:\ZYL.2.LOG" and so on, the highest number the newest. A generation is
// never renamed again.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zyl {

// `path` with `number` before the extension of its file name ("C:\ZYL.3.LOG"), or after the name
// when it has none ("app.3"). The extension starts at the file name's last '.', unless that is
// its first byte (".log" has none).
std::string GenerationName(std::string_view path, std::uint64_t number);

// The highest generation number: a name with a larger one is no generation, so a stray file
// cannot end rotation or hide the generations below it.
inline constexpr std::uint64_t kLastGeneration = 999999999;

// The number of the generation of the log `path` that `other` names (a path in the same folder);
// 0 when it names none.
std::uint64_t GenerationNumber(std::string_view path, std::string_view other);

struct Generation {
  std::uint64_t number;
  std::string path;
};

// The generations of `path` that exist, lowest number first: the names GenerationName gives,
// letter case ignored where the platform's file names ignore it.
std::vector<Generation> ListGenerations(std::string_view path);

struct Rotation {
  std::string generation;  // the path the log was renamed to; empty when it was not
  std::string problem;     // why not, in the system's words
  bool elsewhere = false;  // another rotation renamed it just before (RotateNow)
};

// Renames the log `path` to the generation one above the highest, never over an existing file
// (none past kLastGeneration),
// then removes the lowest generations beyond `keep` (at least 1). The caller holds the rotation
// lock of the file `path` names and has checked that it names it.
Rotation Rotate(const std::string& path, std::size_t keep);

}  // namespace zyl

#endif  // ZYL_DIAG_LOG_GENERATIONS_H_
