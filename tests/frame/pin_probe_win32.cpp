#include <windows.h>

#include "pin_probe.h"

// Linked -static and never against the library: the library must come and go through these calls
// alone.
int main(int argc, char** argv) {
  if (argc != 2) return kProbeUsage;
  const HMODULE library = LoadLibraryA(argv[1]);
  if (library == nullptr) return kProbeLoadFailed;
  if (GetModuleHandleA(argv[1]) != library) return kProbeLookupFailed;
  FreeLibrary(library);
  return GetModuleHandleA(argv[1]) != nullptr ? kProbeStillMapped : kProbeUnmapped;
}
