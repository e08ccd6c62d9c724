# Cross-building for 64-bit Windows with Debian's mingw-w64 (tools/windows.sh passes this file).
# The posix flavour: its libstdc++ has std::thread and the rest of the C++ library.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DROMLIN_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DROMLIN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DROMLIN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${DROMLIN_MINGW_TRIPLET}-windres)

# Libraries and headers come from the cross toolchain (and the prefixes the caller adds), never
# from the build machine; programs run on the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${DROMLIN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
