# Shared by both MinGW-w64 toolchains. KORVANE_MINGW_TRIPLE is set by the includer.
set(CMAKE_SYSTEM_NAME Windows)
# The thread model of the MinGW-w64 compilers. posix (the default) for builds
# with tests: the win32 model of GCC 12 has no std::mutex, and GoogleTest needs
# it. win32 for the shipping executables: the posix model's runtime
# (winpthreads) imports functions that Windows XP lacks, such as GetTickCount64.
set(KORVANE_MINGW_THREADS posix CACHE STRING "Thread model of the MinGW-w64 compilers: posix or win32")
set(CMAKE_C_COMPILER ${KORVANE_MINGW_TRIPLE}-gcc-${KORVANE_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${KORVANE_MINGW_TRIPLE}-g++-${KORVANE_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${KORVANE_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KORVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test executables run under Wine through this wrapper (the loader of
# KORVANE_WINE_BITS, prefix, locale, debug output); the test presets set the bits.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
