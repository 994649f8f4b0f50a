#ifndef ZYL_FRAME_NO_THROW_H_
#define ZYL_FRAME_NO_THROW_H_

#include <new>
#include <stdexcept>

namespace zyl {

// Runs the body of an export and gives its result, or the export's failure result (the empty
// string, false, nothing done) when memory runs out. No exception may leave an export: the 32-bit
// DLL's caller cannot catch one (each module carries its own unwinder), so the host would end.
template <class Body>
auto NoThrow(const Body& body) -> decltype(body()) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {  // a size beyond any string's, as a width can ask for
  }
  return decltype(body())();
}

}  // namespace zyl

#endif  // ZYL_FRAME_NO_THROW_H_
