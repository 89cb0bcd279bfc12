# 32-bit ARM, hard float (a 32-bit time_t, a 4-byte pthread_t): built by
# Debian's cross g++, run under qemu-user.
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(triple arm-linux-gnueabihf)
set(qemu qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
