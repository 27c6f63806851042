# Cross-compiles the Windows program with Debian's clang and lld against
# mingw-w64's headers and libraries, and GCC's libstdc++ (posix thread
# model), so that code only GCC accepts cannot land.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)

# clang 14 does not recognise Debian's "12-posix" GCC folder, so it finds
# neither libstdc++'s headers nor libgcc: name them.
set(TIVORRA_MINGW_GCC_DIR /usr/lib/gcc/${TOOLCHAIN_PREFIX}/12-posix
    CACHE PATH "mingw-w64 GCC's library folder (libstdc++, libgcc)")
set(_cxx ${TIVORRA_MINGW_GCC_DIR}/include/c++)
set(CMAKE_CXX_FLAGS_INIT
    "-stdlib++-isystem ${_cxx} -stdlib++-isystem ${_cxx}/${TOOLCHAIN_PREFIX} -stdlib++-isystem ${_cxx}/backward")

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One executable with no DLLs beside it. The posix libstdc++ sits on
# winpthreads, which GCC's driver adds by itself and clang's does not; lld
# resolves archives in any order, so naming it here is enough.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${TIVORRA_MINGW_GCC_DIR} -static -lpthread")
