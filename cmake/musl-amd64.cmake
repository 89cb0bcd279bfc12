# 64-bit x86, statically linked on musl: the release's tarball program.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(musl x86_64-linux-musl)
include(${CMAKE_CURRENT_LIST_DIR}/musl.cmake)
