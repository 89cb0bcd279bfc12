# 64-bit little-endian POWER: built by Debian's cross g++, run under
# qemu-user.
set(CMAKE_SYSTEM_PROCESSOR ppc64le)
set(triple powerpc64le-linux-gnu)
set(qemu qemu-ppc64le)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
