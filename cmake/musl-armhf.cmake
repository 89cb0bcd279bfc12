# 32-bit ARM, hard float, statically linked on musl: the release's
# tarball program.
include(${CMAKE_CURRENT_LIST_DIR}/armhf.cmake)
set(musl arm-linux-musleabihf)
include(${CMAKE_CURRENT_LIST_DIR}/musl.cmake)
