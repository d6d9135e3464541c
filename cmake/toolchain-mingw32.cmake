# The shipping 32-bit build. It is compiled and linked here but never run: the
# development machines' kernel runs no 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KORVANE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
