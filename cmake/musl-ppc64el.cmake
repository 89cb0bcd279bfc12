# 64-bit little-endian POWER, statically linked on musl: the release's
# tarball program.
include(${CMAKE_CURRENT_LIST_DIR}/ppc64el.cmake)
set(musl powerpc64le-linux-musl)
include(${CMAKE_CURRENT_LIST_DIR}/musl.cmake)
