# 32-bit little-endian MIPS, the o32 ABI, statically linked on musl: the
# release's tarball program.
include(${CMAKE_CURRENT_LIST_DIR}/mipsel.cmake)
set(musl mipsel-linux-musl)
include(${CMAKE_CURRENT_LIST_DIR}/musl.cmake)
