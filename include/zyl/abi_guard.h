#ifndef ZYL_ABI_GUARD_H_
#define ZYL_ABI_GUARD_H_

// std::string values cross the library's boundary by value, so a caller must share the library's
// std::string and heap. A caller that cannot stops here at compile time, told what to change,
// instead of corrupting strings at run time: plain function names carry no type to stop the link.

// Before any include: an older standard would only fail later, on <charconv>, without saying why.
// MSVC keeps __cplusplus at 199711L unless told otherwise; _MSVC_LANG holds its real standard.
#if __cplusplus < 201703L && (!defined(_MSVC_LANG) || _MSVC_LANG < 201703L)
#error "ZIZUDUZ: its headers need C++17 or later; build with -std=c++17 (or /std:c++17)."
#endif

#include <cstdlib>  // the C runtime's _mingw.h (_UCRT)
#include <string>   // the standard library's own macros

#include "zyl/config.h"

#if defined(_LIBCPP_VERSION)
#error \
    "ZIZUDUZ: libc++'s std::string is not the library's; build with GNU libstdc++ (g++, or clang++ without -stdlib=libc++)."
#elif defined(_MSC_VER) || defined(_CPPLIB_VER)
#error \
    "ZIZUDUZ: MSVC's std::string is not the library's; build with mingw-w64 g++ (x86_64-w64-mingw32-g++-posix or i686-w64-mingw32-g++-posix)."
#elif !defined(__GLIBCXX__)
#error \
    "ZIZUDUZ: this standard library's std::string is not the library's; build with GNU libstdc++ (g++)."
#elif !defined(_GLIBCXX_USE_CXX11_ABI) || !_GLIBCXX_USE_CXX11_ABI
#error \
    "ZIZUDUZ: the old std::string ABI (_GLIBCXX_USE_CXX11_ABI=0) is not the library's; build without -D_GLIBCXX_USE_CXX11_ABI=0."
#elif ZYL_BUILT_FOR_WINDOWS != defined(_WIN32)
#error \
    "ZIZUDUZ: these headers belong to the library built for another operating system (zyl/config.h); use the package built for the system this program targets."
#elif ZYL_BUILT_POINTER_SIZE != __SIZEOF_POINTER__
#error \
    "ZIZUDUZ: these headers belong to the library built for another pointer size (zyl/config.h); use the 32-bit package for 32-bit programs, the 64-bit one for 64-bit programs."
#elif defined(__MINGW32__) && ZYL_BUILT_WITH_UCRT && !defined(_UCRT)
#error \
    "ZIZUDUZ: the DLL was built for the UCRT C runtime, this program for msvcrt; build it with a UCRT mingw-w64 toolchain, or use a DLL built for msvcrt."
#elif defined(__MINGW32__) && !ZYL_BUILT_WITH_UCRT && defined(_UCRT)
#error \
    "ZIZUDUZ: the DLL was built for the msvcrt C runtime, this program for UCRT; build it with an msvcrt mingw-w64 toolchain (Debian's), or use a DLL built for UCRT."
#endif

#endif  // ZYL_ABI_GUARD_H_
