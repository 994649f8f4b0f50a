#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "stdio_mode.h"

namespace zyl::tool {

void UseBinaryStdio() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace zyl::tool
