#ifndef ZYL_EXPORT_H_
#define ZYL_EXPORT_H_

// Marks the library's exports: dllexport while building the DLL, dllimport for its callers, and
// default visibility on ELF, where everything else is built hidden.
#if defined(_WIN32) && defined(ZYL_BUILDING)
#define ZYL_API __declspec(dllexport)
#elif defined(_WIN32)
#define ZYL_API __declspec(dllimport)
#else
#define ZYL_API __attribute__((visibility("default")))
#endif

#endif  // ZYL_EXPORT_H_
