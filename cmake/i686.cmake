# 32-bit x86: built by Debian's cross g++. A 64-bit kernel built with
# 32-bit support runs it as it is; the tests fall back to qemu-user where
# the kernel cannot.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triple i686-linux-gnu)
set(qemu qemu-i386)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
