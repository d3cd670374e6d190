# 64-bit Windows build with the posix-thread MinGW-w64 compiler (std::mutex needs it).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELTRIN_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
