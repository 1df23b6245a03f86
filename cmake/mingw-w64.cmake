# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads flavour, which
# std::thread and GoogleTest need). Executables are run under Wine when CMake or CTest run them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TORVANE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TORVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TORVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TORVANE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TORVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: a test program copied elsewhere (a folder with spaces, say) still starts without
# the compiler's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(TORVANE_WINE wine)
if(TORVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TORVANE_WINE})
endif()
