# Cross-builds for 64-bit Windows with Debian's mingw-w64. The -posix
# compilers: with the win32 thread model libstdc++'s steady_clock falls back
# to the wall clock, and the plain names may point at either model.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)
set(CMAKE_STRIP /usr/bin/${mingw_prefix}-strip)

# Libraries and headers only from the mingw sysroot and the prefixes asked
# for (SDL's), so the host's Linux SDL2 is never picked up; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
