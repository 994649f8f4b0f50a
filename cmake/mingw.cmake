# Cross-build for Windows with mingw-w64 (posix threads); tests run under Wine.
# Included by mingw-i686.cmake and mingw-x86_64.cmake, which set CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)
set(triple ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
# The prefixes a project names (CMAKE_PREFIX_PATH: an installed package, say) are find roots
# too: searched as named, not looked for below the mingw root.
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Plain ctest runs each test .exe under Wine (the wrapper picks the 32- or 64-bit loader).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
