#include "frame/startup.h"

#include <memory>

#include "platform/platform.h"
#include "zyl/zyl_string.h"

namespace zyl {
namespace {

constexpr char kHostExecutable[] = "RIROVIVE.EXE";

bool IsHostProcess(const char* executable_path) {
  // Any letter case, anywhere after the first byte: FindPos answers 0 for "absent".
  return ZYLString(executable_path).UpperCase().FindPos(kHostExecutable) > 0;
}

}  // namespace

void OnProcessAttach(const void* self) {
  // Zero-filled, one byte past the limit: terminated even where a cut path would not be (XP).
  auto path = std::make_unique<char[]>(platform::kPathLimit + 1);
  if (platform::ModulePath(nullptr, path.get(), platform::kPathLimit) == 0) return;
  if (!IsHostProcess(path.get())) return;
  // A cut path could name some other library: better unpinned than that.
  const std::size_t length = platform::ModulePath(self, path.get(), platform::kPathLimit);
  if (length == 0 || length >= platform::kPathLimit) return;
  platform::PinLibrary(path.get());
}

}  // namespace zyl
