#include <dlfcn.h>

#include "pin_probe.h"

namespace {

bool IsMapped(const char* path) {
  void* library = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
  if (library == nullptr) return false;
  dlclose(library);  // RTLD_NOLOAD still counts a reference
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return kProbeUsage;
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return kProbeLoadFailed;
  if (!IsMapped(argv[1])) return kProbeLookupFailed;
  dlclose(library);
  return IsMapped(argv[1]) ? kProbeStillMapped : kProbeUnmapped;
}
