# 32-bit Windows build with the posix-thread MinGW-w64 compiler (std::mutex needs it).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELTRIN_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
