# 64-bit ARM, statically linked on musl: the release's tarball program.
include(${CMAKE_CURRENT_LIST_DIR}/aarch64.cmake)
set(musl aarch64-linux-musl)
include(${CMAKE_CURRENT_LIST_DIR}/musl.cmake)
