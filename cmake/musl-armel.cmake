# 32-bit ARM, soft float, statically linked on musl: the release's
# tarball program.
include(${CMAKE_CURRENT_LIST_DIR}/armel.cmake)
set(musl arm-linux-musleabi)
include(${CMAKE_CURRENT_LIST_DIR}/musl.cmake)
