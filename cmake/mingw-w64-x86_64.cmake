# Cross build of quarvel-cli.exe for 64-bit Windows with Debian's mingw-w64
# (g++-mingw-w64-x86-64-posix or -win32, libz-mingw-w64-dev):
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DQUARVEL_CLI_ONLY=ON
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUARVEL_MINGW_PREFIX x86_64-w64-mingw32)

# The posix threading flavour when installed, else the default one.
find_program(QUARVEL_MINGW_CXX NAMES ${QUARVEL_MINGW_PREFIX}-g++-posix ${QUARVEL_MINGW_PREFIX}-g++-win32
                                       ${QUARVEL_MINGW_PREFIX}-g++ REQUIRED)
set(CMAKE_CXX_COMPILER ${QUARVEL_MINGW_CXX})
find_program(CMAKE_RC_COMPILER ${QUARVEL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUARVEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: zlib and the C++ run time linked in.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# GCC 12 warns falsely about std::string's inlined copies (-Wrestrict) at -O2.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
