#include <new>

#include "commands.h"
#include "system.h"

int main(int argc, char** argv) {
  zyl::tool::UseBinaryStdio();
  try {
    return zyl::tool::Run(argc, argv);
  } catch (const std::bad_alloc&) {
    // zyl's own copies of a huge text or result; the library answers for its own allocations.
    zyl::tool::Complain("out of memory");
    return zyl::tool::kFailed;
  }
}
