#include "diag/log_generations.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "diag/retry.h"
#include "platform/platform.h"

namespace zyl {
namespace {

// A path cut where a generation's number goes: folder, stem, extension.
struct NameParts {
  std::string_view folder;  // separator included
  std::string_view stem;
  std::string_view extension;  // from its '.' on; may be empty
};

NameParts SplitName(std::string_view path) {
  const std::size_t last_separator = path.find_last_of(platform::PathSeparators());
  const std::size_t name_start = last_separator == path.npos ? 0 : last_separator + 1;
  const std::string_view name = path.substr(name_start);
  std::size_t dot = name.rfind('.');
  if (dot == 0 || dot == name.npos) dot = name.size();
  return {path.substr(0, name_start), name.substr(0, dot), name.substr(dot)};
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (!platform::NamesIgnoreCase()) return a == b;
  // ASCII folding: the names compared here differ from the log's only in their digits.
  return std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(x) == lower(y);
  });
}

// The generation number of the file name `name` for the log `parts`; 0 when it names none. A
// number has no leading zero, so each generation has one name.
std::uint64_t NumberIn(std::string_view name, const NameParts& parts) {
  const std::size_t fixed = parts.stem.size() + 1 + parts.extension.size();
  if (name.size() <= fixed || !SameName(name.substr(0, parts.stem.size()), parts.stem) ||
      name[parts.stem.size()] != '.' ||
      !SameName(name.substr(name.size() - parts.extension.size()), parts.extension)) {
    return 0;
  }
  const std::string_view digits = name.substr(parts.stem.size() + 1, name.size() - fixed);
  if (digits[0] == '0') return 0;
  std::uint64_t number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size()) return 0;
  return number <= kLastGeneration ? number : 0;
}

}  // namespace

std::uint64_t GenerationNumber(std::string_view path, std::string_view other) {
  const NameParts parts = SplitName(path), named = SplitName(other);
  if (parts.stem.empty() || !SameName(parts.folder, named.folder)) return 0;
  return NumberIn(other.substr(named.folder.size()), parts);
}

std::string GenerationName(std::string_view path, std::uint64_t number) {
  const NameParts parts = SplitName(path);
  std::string name(path.substr(0, path.size() - parts.extension.size()));
  name += '.';
  name += std::to_string(number);
  name += parts.extension;
  return name;
}

std::vector<Generation> ListGenerations(std::string_view path) {
  const NameParts parts = SplitName(path);
  std::vector<Generation> found;
  if (parts.stem.empty()) return found;
  for (const std::string& name : platform::FolderNames(std::string(parts.folder))) {
    if (const std::uint64_t number = NumberIn(name, parts); number != 0) {
      found.push_back({number, std::string(parts.folder) + name});
    }
  }
  std::sort(found.begin(), found.end(),
            [](const Generation& a, const Generation& b) { return a.number < b.number; });
  return found;
}

Rotation Rotate(const std::string& path, std::size_t keep) {
  Rotation rotation;
  std::vector<Generation> generations;
  // A name taken between the look and the rename (by a file of another program) is passed over.
  for (int attempt = 0; attempt < kRaceAttempts && rotation.generation.empty(); ++attempt) {
    generations = ListGenerations(path);
    const std::uint64_t next = generations.empty() ? 1 : generations.back().number + 1;
    if (next > kLastGeneration) {
      rotation.problem = "no generation number is left";
      return rotation;
    }
    const std::string name = GenerationName(path, next);
    if (platform::RenameNoReplace(path.c_str(), name.c_str())) {
      rotation.generation = name;
      generations.push_back({next, name});  // the newest: the list stays in order
    } else {
      rotation.problem = platform::LastErrorText();
      if (!platform::IdOfPath(name.c_str())) return rotation;  // not a clash: it will not pass
    }
  }
  if (rotation.generation.empty()) return rotation;
  rotation.problem.clear();
  // Listed once, before the rename: a rotation of the next log lists after it, so what this one
  // leaves beyond `keep` that one removes.
  const std::size_t excess =
      generations.size() - std::min(generations.size(), std::max<std::size_t>(keep, 1));
  // Ignore failures: a generation held open elsewhere goes at a later rotation.
  for (std::size_t i = 0; i < excess; ++i) platform::RemoveFile(generations[i].path.c_str());
  return rotation;
}

}  // namespace zyl
