# 32-bit x86, statically linked on musl: the release's tarball program.
include(${CMAKE_CURRENT_LIST_DIR}/i686.cmake)
set(musl i386-linux-musl)
include(${CMAKE_CURRENT_LIST_DIR}/musl.cmake)
