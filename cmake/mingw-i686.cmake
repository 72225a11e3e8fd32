# Cross build for 32-bit Windows with the i686 mingw-w64 tool chain
# (Debian: g++-mingw-w64-i686, binutils-mingw-w64-i686).
#
#   cmake --preset mingw && cmake --build --preset mingw
#
# The result is vantorel.p, a PE32 i386 DLL, and vantorel-host.exe.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(VANTOREL_MINGW_TRIPLE i686-w64-mingw32 CACHE STRING "Target triple of the mingw-w64 tool chain")

# Debian ships a win32-thread and a posix-thread flavour of the compilers; the
# plug-in uses no threads, the win32 flavour needs no winpthread DLL.
find_program(VANTOREL_MINGW_CC NAMES ${VANTOREL_MINGW_TRIPLE}-gcc-win32 ${VANTOREL_MINGW_TRIPLE}-gcc REQUIRED)
find_program(VANTOREL_MINGW_CXX NAMES ${VANTOREL_MINGW_TRIPLE}-g++-win32 ${VANTOREL_MINGW_TRIPLE}-g++ REQUIRED)
find_program(VANTOREL_MINGW_RC NAMES ${VANTOREL_MINGW_TRIPLE}-windres)
set(CMAKE_C_COMPILER ${VANTOREL_MINGW_CC})
set(CMAKE_CXX_COMPILER ${VANTOREL_MINGW_CXX})
if(VANTOREL_MINGW_RC)
  set(CMAKE_RC_COMPILER ${VANTOREL_MINGW_RC})
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${VANTOREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Floating point in SSE2 registers, as on x86-64. The x87 unit rounds each
# step to 64 bits of mantissa and then again to 53, which gives different last
# bits (and so different command texts and truncated colours) than the Linux
# build, and its precision also depends on the control word the host process
# set. With SSE2 every double operation is rounded once, the same everywhere.
# Requires a processor with SSE2 (Pentium 4, Athlon 64 or later).
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
