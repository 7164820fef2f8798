# What both mingw-w64 toolchain files share (cmake/mingw-i686.cmake and
# cmake/mingw-x86_64.cmake set CMAKE_SYSTEM_PROCESSOR and PELLO_MINGW_TRIPLE,
# then include this): Debian's mingw-w64 compilers with posix threads
# (GoogleTest needs them), static linking, and the test programs run under
# Wine through wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${PELLO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELLO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PELLO_MINGW_TRIPLE}-windres)
set(CMAKE_OBJCOPY ${PELLO_MINGW_TRIPLE}-objcopy)

set(CMAKE_FIND_ROOT_PATH /usr/${PELLO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Nothing may need the MinGW runtime DLLs. No time stamp in the PE headers
# or the export table: the same sources link to the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
