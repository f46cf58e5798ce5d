# Cross-compiles for 64-bit Windows with mingw-w64, using the POSIX-thread compilers:
# GoogleTest needs std::mutex, which the win32-thread ones lack.
# The executables are linked statically, so they need no DLL beyond the system's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TUVO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TUVO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TUVO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TUVO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TUVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows programs and tests run under Wine on this host.
find_program(TUVO_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TUVO_WINE})
