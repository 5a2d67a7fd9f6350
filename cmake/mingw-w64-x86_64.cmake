# Cross-building the plain core for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DLOOKABOUT_CORE_ONLY=ON
# The posix flavour has std::thread and std::mutex; its tests run under Wine (scripts/test-windows-core.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One executable with the C++ runtime and the threads library inside: nothing to copy next to it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(LOOKABOUT_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(LOOKABOUT_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${LOOKABOUT_WINE})
endif()
