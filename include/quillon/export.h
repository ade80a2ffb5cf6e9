// One export macro for the whole library. The shared library is built with
// hidden visibility, so only what carries QUILLON_API is visible to hosts.
#ifndef QUILLON_EXPORT_H
#define QUILLON_EXPORT_H

#if defined(_WIN32)
#  if defined(QUILLON_BUILDING)
#    define QUILLON_API __declspec(dllexport)
#  elif defined(QUILLON_STATIC)
#    define QUILLON_API
#  else
#    define QUILLON_API __declspec(dllimport)
#  endif
#else
#  define QUILLON_API __attribute__((visibility("default")))
#endif

// Plain functions are exported under their undecorated names.
#ifdef __cplusplus
#  define QUILLON_C extern "C"
#else
#  define QUILLON_C
#endif

#endif
