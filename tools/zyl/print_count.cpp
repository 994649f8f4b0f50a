#include <algorithm>
#include <vector>

#include "show.h"

namespace zyl::tool {

void Counter::Add(const LogEntry& entry) {
  if (!entry.is_record) {
    ++strays_;
    return;
  }
  const auto it = counts_.find(entry.exe());
  if (it != counts_.end()) {
    ++it->second;
  } else {
    counts_.emplace(entry.exe(), 1);
  }
}

void Counter::Print(bool escape, Output& out) const {
  std::vector<std::pair<std::string, std::uint64_t>> rows(counts_.begin(), counts_.end());
  std::stable_sort(rows.begin(), rows.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  if (strays_ != 0) rows.emplace_back("(not a record)", strays_);
  for (const auto& [exe, count] : rows) {
    char number[32];
    std::snprintf(number, sizeof number, "%7llu ", static_cast<unsigned long long>(count));
    out.Write(number);
    out.Line(escape ? Escaped(exe) : exe);
  }
}

}  // namespace zyl::tool
