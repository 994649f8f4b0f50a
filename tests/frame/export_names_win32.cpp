#include <windows.h>

#include <vector>

#include "export_names.h"
#include "iat_patch.h"

namespace zyl::testing {

std::vector<std::string> ExportedNames() {
  const auto* base = reinterpret_cast<const BYTE*>(LibraryModule());
  if (base == nullptr) return {};
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (dir.VirtualAddress == 0) return {};
  const auto* table = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  const auto* functions = reinterpret_cast<const DWORD*>(base + table->AddressOfFunctions);
  const auto* names = reinterpret_cast<const DWORD*>(base + table->AddressOfNames);
  const auto* name_ordinals = reinterpret_cast<const WORD*>(base + table->AddressOfNameOrdinals);

  std::vector<std::string> exported;
  std::vector<bool> named(table->NumberOfFunctions, false);
  for (DWORD i = 0; i < table->NumberOfNames; ++i) {
    exported.emplace_back(reinterpret_cast<const char*>(base + names[i]));
    if (name_ordinals[i] < named.size()) named[name_ordinals[i]] = true;
  }
  // Slots left zero are gaps in the ordinal range, not exports.
  for (DWORD i = 0; i < table->NumberOfFunctions; ++i) {
    if (!named[i] && functions[i] != 0) {
      exported.push_back("#" + std::to_string(table->Base + i));
    }
  }
  return exported;
}

}  // namespace zyl::testing
