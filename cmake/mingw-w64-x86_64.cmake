# Cross-building the Windows DLL and programs with MinGW-w64 (Debian
# g++-mingw-w64-x86-64, binutils-mingw-w64-x86-64):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLON_MINGW_PREFIX x86_64-w64-mingw32)
# The POSIX thread model, so that std::thread and std::mutex exist (GCC 12's
# win32 model has neither, and GoogleTest and some tests need them).
find_program(CMAKE_C_COMPILER ${QUILLON_MINGW_PREFIX}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER ${QUILLON_MINGW_PREFIX}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER ${QUILLON_MINGW_PREFIX}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLON_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No MinGW runtime DLLs beside the binaries: the DLLs carry their own copy
# of the GCC, C++ and thread runtimes (-static reaches the thread library,
# which -static-libstdc++ alone leaves as libwinpthread-1.dll), the programs
# are linked fully static. Both still import the system DLLs and the
# library's own.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Programs built here run under Wine (scripts/wine-run.sh keeps its prefix
# inside the build tree).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
