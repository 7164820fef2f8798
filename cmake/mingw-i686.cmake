# Cross-compiles for 32-bit (i686) Windows with Debian's mingw-w64; the rest
# is cmake/mingw-common.cmake.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PELLO_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Floating point on SSE2, not the x87 unit: the x87 keeps intermediates in
# extended precision, so a float the plug-in stores would not be rounded as it
# is on every other build. SSE2 needs a Pentium 4 / Athlon 64 or later. Hosts
# built by other compilers call in with a stack aligned to only 4 bytes, so
# functions that need more align it themselves.
set(PELLO_I686_FLAGS "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")
set(CMAKE_C_FLAGS_INIT "${PELLO_I686_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${PELLO_I686_FLAGS}")
