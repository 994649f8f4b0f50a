// Shows a modal message box and returns when it is closed. The box is owned by the program's
// top-level window and captioned with its title; a console program has no window, so the caption
// is the executable's file name. On Linux there are no windows: the text goes to standard error.

#include <zyl/zyl.h>

#include <cstdio>

int main() {
  ShowZYLMsg("The stock list was saved.");
  // ShowZYLError(text, detail) shows its detail only when the environment has DEBUG=on.
  std::printf("the box was closed\n");
  return 0;
}
