# Cross-compiles the Windows program with mingw-w64's posix thread model
# (GoogleTest needs std::mutex, which the win32 model lacks in GCC 12).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Linked by lld (Debian's lld package), named through GCC's "linker" spec.
# GNU ld's default script keeps every .pdata section, and with it every
# function of each library object the program touches: the same objects
# come out about 130 KB larger than lld makes them, which keeps the unwind
# tables of live functions only. The linker plugin is GNU ld's, for LTO,
# which this build does not use.
set(_tivorra_lld "-specs=${CMAKE_CURRENT_LIST_DIR}/lld.specs -fno-use-linker-plugin")
# One executable with no DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ ${_tivorra_lld}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_tivorra_lld}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_tivorra_lld}")
