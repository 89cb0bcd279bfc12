# 32-bit x86: built by Debian's cross g++ and run as it is, since the
# 64-bit kernel runs it, with the 32-bit C library of libc6-i386.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triple i686-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
