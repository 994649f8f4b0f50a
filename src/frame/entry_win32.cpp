#include <windows.h>

#include "frame/startup.h"

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) zyl::OnProcessAttach(self);
  return TRUE;
}
