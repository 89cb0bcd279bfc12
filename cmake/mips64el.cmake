# 64-bit little-endian MIPS, the n64 ABI: built by Debian's cross g++, run
# under qemu-user.
set(CMAKE_SYSTEM_PROCESSOR mips64)
set(triple mips64el-linux-gnuabi64)
set(qemu qemu-mips64el)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
