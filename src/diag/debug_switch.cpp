#include "frame/no_throw.h"
#include "platform/platform.h"
#include "zyl/zyl.h"

bool Debug() {
  return zyl::NoThrow([] {
    // Read afresh each time into a buffer of our own: callers may switch debug mode on and off
    // while running, from any thread. A value too long for the buffer is not "ON".
    char value[4];
    const std::size_t length = zyl::platform::EnvironmentValue("DEBUG", value, sizeof value);
    return length < sizeof value && ZYLString(value, length).UpperCase() == "ON";
  });
}
