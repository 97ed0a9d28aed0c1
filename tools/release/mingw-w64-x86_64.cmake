# CMake toolchain for 64-bit Windows programs built on Debian with mingw-w64
# (packages g++-mingw-w64-x86-64-posix and mingw-w64-tools). The posix
# thread model is the one Qt needs for std::thread and std::mutex.
#
# Libraries built for Windows (Qt, zlib, ISA-L) live in a prefix of their
# own; name it with DELVARD_WIN64_PREFIX (a cache variable or an environment
# variable) so that find_package() looks there as well as in the mingw sysroot.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)

if(NOT DELVARD_WIN64_PREFIX AND DEFINED ENV{DELVARD_WIN64_PREFIX})
  set(DELVARD_WIN64_PREFIX "$ENV{DELVARD_WIN64_PREFIX}")
endif()
# try_compile() projects read this file again; hand the prefix on to them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES DELVARD_WIN64_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
if(DELVARD_WIN64_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH "${DELVARD_WIN64_PREFIX}")
endif()

# Programs run on this machine; headers, libraries and CMake packages must
# be Windows ones, never the host's.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
