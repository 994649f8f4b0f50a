#include "frame/startup.h"

namespace {

// An address inside this library: the posix layer names modules by such addresses.
__attribute__((constructor)) void OnLoad() {
  zyl::OnProcessAttach(reinterpret_cast<const void*>(&OnLoad));
}

}  // namespace
