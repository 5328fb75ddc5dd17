# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix,
# libz-mingw-w64-dev). quarvel-cli.exe alone, without Qt:
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DQUARVEL_CLI_ONLY=ON
# The whole program against a Qt built for mingw-w64 (scripts/windows-qt.sh):
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#     -DCMAKE_PREFIX_PATH=<qt> -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUARVEL_MINGW_PREFIX x86_64-w64-mingw32)

# The posix threading flavour (std::thread, and the one Qt is built with)
# when installed, else the default one.
find_program(QUARVEL_MINGW_CXX NAMES ${QUARVEL_MINGW_PREFIX}-g++-posix ${QUARVEL_MINGW_PREFIX}-g++-win32
                                       ${QUARVEL_MINGW_PREFIX}-g++ REQUIRED)
find_program(QUARVEL_MINGW_CC NAMES ${QUARVEL_MINGW_PREFIX}-gcc-posix ${QUARVEL_MINGW_PREFIX}-gcc-win32
                                      ${QUARVEL_MINGW_PREFIX}-gcc REQUIRED)
set(CMAKE_CXX_COMPILER ${QUARVEL_MINGW_CXX})
set(CMAKE_C_COMPILER ${QUARVEL_MINGW_CC})
find_program(CMAKE_RC_COMPILER ${QUARVEL_MINGW_PREFIX}-windres)

# Packages are looked up only in the target's folders: the mingw-w64 one and
# each folder of CMAKE_PREFIX_PATH (the Windows Qt).
set(CMAKE_FIND_ROOT_PATH /usr/${QUARVEL_MINGW_PREFIX} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(ZLIB_USE_STATIC_LIBS ON)
# GCC 12 warns falsely about std::string's inlined copies (-Wrestrict) at -O2.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
