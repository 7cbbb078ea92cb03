# Cross-building for 64-bit Windows with Debian's MinGW-w64 (package mingw-w64).
#
# The "posix" compilers are used: their C++ runtime has std::thread and
# std::mutex, which the win32 variant of GCC 12 lacks. Every program and
# DLL carries its runtimes (libgcc, libstdc++, winpthread) linked in, so the
# results run on a bare Windows or under Wine without extra DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows 7 and later: the IP Helper and Winsock calls used are all there.
# MinGW's C headers offer the POSIX gmtime_r and localtime_r on request.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 WIN32_LEAN_AND_MEAN NOMINMAX
                        _POSIX_THREAD_SAFE_FUNCTIONS)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Programs built here run under Wine (tests, and gtest_discover_tests at
# build time), through the wrapper that keeps Wine quiet and headless, with
# a Wine prefix of the build tree's own.
get_filename_component(R40_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wine ${R40_WINE_RUN})
