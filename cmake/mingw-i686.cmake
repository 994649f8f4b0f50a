set(CMAKE_SYSTEM_PROCESSOR i686)
# SSE2 is the baseline, as on x86-64: every x86 processor since 2003 has it, and Windows 8 and
# later require it. The scans then use it with no run-time query.
set(CMAKE_C_FLAGS_INIT -msse2)
set(CMAKE_CXX_FLAGS_INIT -msse2)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
