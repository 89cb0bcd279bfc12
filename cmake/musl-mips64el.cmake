# 64-bit little-endian MIPS, the n64 ABI, statically linked on musl: the
# release's tarball program.
include(${CMAKE_CURRENT_LIST_DIR}/mips64el.cmake)
set(musl mips64el-linux-musl)
include(${CMAKE_CURRENT_LIST_DIR}/musl.cmake)
