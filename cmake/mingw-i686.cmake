# Cross-compiles for 32-bit (i686) Windows with Debian's mingw-w64 (posix threads:
# GoogleTest needs them). Test programs run under Wine through wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PELLO_MINGW_TRIPLE i686-w64-mingw32)

set(CMAKE_C_COMPILER ${PELLO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELLO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PELLO_MINGW_TRIPLE}-windres)
set(CMAKE_OBJCOPY ${PELLO_MINGW_TRIPLE}-objcopy)

set(CMAKE_FIND_ROOT_PATH /usr/${PELLO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Nothing may need the MinGW runtime DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Floating point on SSE2, not the x87 unit: the x87 keeps intermediates in
# extended precision, so a float the plug-in stores would not be rounded as it
# is on every other build. SSE2 needs a Pentium 4 / Athlon 64 or later. Hosts
# built by other compilers call in with a stack aligned to only 4 bytes, so
# functions that need more align it themselves.
set(PELLO_I686_FLAGS "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")
set(CMAKE_C_FLAGS_INIT "${PELLO_I686_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${PELLO_I686_FLAGS}")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
