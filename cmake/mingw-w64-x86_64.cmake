# Cross build for 64-bit Windows with Debian's mingw-w64 compiler (the POSIX threads variant,
# which has std::thread and the C++20 library complete). Programs are linked statically, so they
# run without any DLL beside them; tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
# The libraries cross-built by scripts/build-windows-deps.sh (libpng, zlib, segyio, KissFFT).
if(TRELVANOX_WINDOWS_DEPS)
    list(APPEND CMAKE_FIND_ROOT_PATH ${TRELVANOX_WINDOWS_DEPS})
    list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TRELVANOX_WINDOWS_DEPS)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# How CMake runs a built program (test discovery, ctest).
find_program(TRELVANOX_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TRELVANOX_WINE NAMES wine64 wine)
if(TRELVANOX_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TRELVANOX_WINE})
endif()
