#include "stdio_mode.h"

namespace zyl::tool {

void UseBinaryStdio() {}  // POSIX streams never translate

}  // namespace zyl::tool
