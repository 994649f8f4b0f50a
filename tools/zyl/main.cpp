#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "commands.h"
#include "stdio_mode.h"

int main(int argc, char** argv) {
  zyl::tool::UseBinaryStdio();
  std::ios::sync_with_stdio(false);
  int status = zyl::tool::kExitFailed;
  try {
    status = zyl::tool::Run(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout,
                            std::cerr);
  } catch (const std::bad_alloc&) {
    // A width of two billion is valid input; its result may not fit in memory.
    std::cerr << "zyl: out of memory\n";
    return zyl::tool::kExitFailed;
  }
  if (!std::cout.flush()) {
    std::cerr << "zyl: could not write the output\n";
    return zyl::tool::kExitFailed;
  }
  return status;
}
