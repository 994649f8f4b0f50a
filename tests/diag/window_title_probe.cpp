// Writes GetWindowTitle(nullptr) to the file named by its one argument: the message tests run
// copies of it under other executable names.
#include <fstream>

#include "zyl/zyl.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::ofstream out(argv[1], std::ios::binary);
  out << GetWindowTitle(nullptr);
  return out.flush() ? 0 : 1;
}
