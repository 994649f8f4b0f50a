#ifndef ZYL_TESTS_SUPPORT_IAT_PATCH_H_
#define ZYL_TESTS_SUPPORT_IAT_PATCH_H_

// Windows tests only: replaces one entry of a module's import address table for the life of the
// object, so a test can see (or steer) exactly what the library passes to a system call where
// Wine's own answer differs from Windows'.

#include <windows.h>

namespace zyl::testing {

class ScopedImportPatch {
 public:
  // Points `module`'s import of `function` from `dll` (case-insensitive) at `replacement`.
  ScopedImportPatch(HMODULE module, const char* dll, const char* function, void* replacement);
  ~ScopedImportPatch();
  ScopedImportPatch(const ScopedImportPatch&) = delete;
  ScopedImportPatch& operator=(const ScopedImportPatch&) = delete;

  // False when the import was not found; nothing was changed then.
  bool ok() const { return slot_ != nullptr; }
  // The function the slot held before: call it to pass a call through.
  void* original() const { return original_; }

 private:
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

// The loaded library under test.
HMODULE LibraryModule();

}  // namespace zyl::testing

#endif  // ZYL_TESTS_SUPPORT_IAT_PATCH_H_
