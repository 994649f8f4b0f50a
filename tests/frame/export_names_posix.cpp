#include <elf.h>
#include <link.h>  // ElfW: the native class's types

#include <cstring>
#include <vector>

#include "export_names.h"
#include "test_support.h"

namespace zyl::testing {
namespace {

// Copies a T out of `image` at `offset`; false when it does not fit. The file's bytes carry no
// alignment guarantee, hence the copy.
template <class T>
bool ReadAt(const std::string& image, std::size_t offset, T* out) {
  if (offset > image.size() || image.size() - offset < sizeof(T)) return false;
  std::memcpy(out, image.data() + offset, sizeof(T));
  return true;
}

// What another module can bind to: defined, not local, not hidden.
bool IsExported(const ElfW(Sym) & symbol) {
  // The two classes pack these fields alike.
  const unsigned binding = ELF64_ST_BIND(symbol.st_info);
  const unsigned visibility = ELF64_ST_VISIBILITY(symbol.st_other);
  return symbol.st_shndx != SHN_UNDEF && binding != STB_LOCAL &&
         (visibility == STV_DEFAULT || visibility == STV_PROTECTED);
}

}  // namespace

std::vector<std::string> ExportedNames() {
  // The file, not the mapped image: section headers are not loaded.
  const std::string image = ReadWholeFile(LibraryPath());
  ElfW(Ehdr) header;
  if (!ReadAt(image, 0, &header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) return {};
  std::vector<std::string> exported;
  for (unsigned i = 0; i < header.e_shnum; ++i) {
    ElfW(Shdr) symbols, strings;
    if (!ReadAt(image, header.e_shoff + i * header.e_shentsize, &symbols)) return {};
    if (symbols.sh_type != SHT_DYNSYM || symbols.sh_entsize == 0) continue;
    if (!ReadAt(image, header.e_shoff + symbols.sh_link * header.e_shentsize, &strings)) return {};
    for (std::size_t at = 0; at + symbols.sh_entsize <= symbols.sh_size; at += symbols.sh_entsize) {
      ElfW(Sym) symbol;
      if (!ReadAt(image, symbols.sh_offset + at, &symbol)) return {};
      if (!IsExported(symbol) || symbol.st_name >= strings.sh_size) continue;
      const std::size_t name_at = strings.sh_offset + symbol.st_name;
      if (name_at >= image.size()) return {};
      exported.emplace_back(image.c_str() + name_at);
    }
  }
  return exported;
}

}  // namespace zyl::testing
