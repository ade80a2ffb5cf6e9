// Shared declarations of the host-library stand-ins.
#ifndef QUILLON_HOST_API_H
#define QUILLON_HOST_API_H

#if defined(_WIN32)
#  include <windows.h>
#  if defined(HOST_BUILDING)
#    define HOST_API __declspec(dllexport)
#  else
#    define HOST_API __declspec(dllimport)
#  endif
#else
// The module handle as the host libraries see it.
typedef struct HINSTANCE__* HINSTANCE;
#  define HOST_API __attribute__((visibility("default")))
#endif

#endif
