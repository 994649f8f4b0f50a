#include <cstdlib>

#include "frame/no_throw.h"
#include "zyl/zyl.h"

bool Debug() {
  return zyl::NoThrow([] {
    // Read afresh each time: callers may switch debug mode on and off while running.
    const char* value = std::getenv("DEBUG");
    return value != nullptr && ZYLString(value).UpperCase() == "ON";
  });
}
