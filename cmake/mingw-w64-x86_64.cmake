# Cross build for 64-bit Windows with MinGW-w64 (posix threads), as packaged by Debian.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${_triple}-gcc-posix ${_triple}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${_triple}-g++-posix ${_triple}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${_triple}-windres windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Libraries cross-built by tools/setup.sh live in a cache folder outside the source tree.
if(DEFINED ENV{LOCKBEACON_DEPS})
  set(_lockbeacon_deps "$ENV{LOCKBEACON_DEPS}")
elseif(DEFINED ENV{XDG_CACHE_HOME})
  set(_lockbeacon_deps "$ENV{XDG_CACHE_HOME}/lock-beacon/deps")
else()
  set(_lockbeacon_deps "$ENV{HOME}/.cache/lock-beacon/deps")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH "${_lockbeacon_deps}/mingw64")
