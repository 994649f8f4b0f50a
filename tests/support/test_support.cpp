#include "test_support.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace zyl::testing {

bool CopyFileTo(const std::string& from, const std::string& to) {
  // With its permissions: a copied program stays executable.
  std::error_code error;
  return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                                    error);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) { return static_cast<bool>(std::ifstream(path)); }

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* old = std::getenv(name)) old_ = old;
  SetEnv(name, value);
}

ScopedEnv::~ScopedEnv() { SetEnv(name_.c_str(), old_ ? old_->c_str() : nullptr); }

ScopedCtypeLocale::ScopedCtypeLocale(const char* name) : old_(std::setlocale(LC_CTYPE, nullptr)) {
  ok_ = std::setlocale(LC_CTYPE, name) != nullptr;
}

ScopedCtypeLocale::~ScopedCtypeLocale() { std::setlocale(LC_CTYPE, old_.c_str()); }

}  // namespace zyl::testing
