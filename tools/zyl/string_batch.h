#ifndef ZYL_TOOLS_ZYL_STRING_BATCH_H_
#define ZYL_TOOLS_ZYL_STRING_BATCH_H_

#include <cstddef>
#include <memory>
#include <new>
#include <string>

namespace zyl::tool {

// Up to kCapacity strings (std::string or a class derived from it), each built in place. A filter
// builds a batch of lines, then a batch of results, before it reads any of them: a short string
// read whole right after its bytes were written waits for those writes to reach the cache, one wait
// per line; read a batch later, it costs nothing.
template <class String>
class StringBatch {
 public:
  static constexpr std::size_t kCapacity = 64;

  StringBatch() = default;
  ~StringBatch() { Clear(); }
  StringBatch(const StringBatch&) = delete;
  StringBatch& operator=(const StringBatch&) = delete;

  // Adds the string `make()` returns, built where it stays. Not full.
  template <class Make>
  void Add(const Make& make) {
    ::new (static_cast<void*>(slots_[size_])) String(make());
    ++size_;
  }
  const String& operator[](std::size_t i) const {
    return *std::launder(reinterpret_cast<const String*>(slots_[i]));
  }
  std::size_t size() const { return size_; }
  bool full() const { return size_ == kCapacity; }
  void Clear() {
    for (std::size_t i = 0; i < size_; ++i) {
      std::destroy_at(std::launder(reinterpret_cast<String*>(slots_[i])));
    }
    size_ = 0;
  }

 private:
  alignas(String) unsigned char slots_[kCapacity][sizeof(String)];
  std::size_t size_ = 0;
};

}  // namespace zyl::tool

#endif  // ZYL_TOOLS_ZYL_STRING_BATCH_H_
