# 64-bit IBM Z, a big-endian machine, statically linked on musl: the
# release's tarball program.
include(${CMAKE_CURRENT_LIST_DIR}/s390x.cmake)
set(musl s390x-linux-musl)
include(${CMAKE_CURRENT_LIST_DIR}/musl.cmake)
