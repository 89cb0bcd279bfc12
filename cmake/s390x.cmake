# 64-bit IBM Z, a big-endian machine: built by Debian's cross g++, run
# under qemu-user.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(triple s390x-linux-gnu)
set(qemu qemu-s390x)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
