# Cross-compiling the core and the command line for 64-bit Windows with Debian's MinGW-w64
# (g++-mingw-w64-x86-64-posix: the posix thread model, which std::thread and std::mutex need).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# Libraries and headers only from the MinGW tree (zlib from libz-mingw-w64-dev); programs
# (the build's own tools) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tests run the .exe files under Wine: Debian 12's wine64 package puts its loader at
# /usr/lib/wine/wine64 (the `wine` package adds commands on the PATH); later releases call it
# `wine`.
find_program(STATEWRIGHT_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(STATEWRIGHT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${STATEWRIGHT_WINE})
endif()
