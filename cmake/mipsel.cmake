# 32-bit little-endian MIPS, the o32 ABI: built by Debian's cross g++, run
# under qemu-user.
set(CMAKE_SYSTEM_PROCESSOR mipsel)
set(triple mipsel-linux-gnu)
set(qemu qemu-mipsel)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
