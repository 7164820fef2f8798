# Cross-compiles for 64-bit (x86_64) Windows with Debian's mingw-w64; the
# rest is cmake/mingw-common.cmake.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PELLO_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
