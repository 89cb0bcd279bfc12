# 32-bit ARM, soft float (ARMv5TE, no FPU assumed): built by Debian's cross
# g++, run under qemu-user.
set(CMAKE_SYSTEM_PROCESSOR armv5tel)
set(triple arm-linux-gnueabi)
set(qemu qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
