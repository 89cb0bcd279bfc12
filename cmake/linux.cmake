# The toolchain file of the Linux targets: STAGGER_TARGET names the row of
# linux-targets, by Debian's name for the machine, and STAGGER_LIBC=musl
# builds on musl. Debian's g++ for the machine's GNU triple builds it.
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES STAGGER_TARGET STAGGER_LIBC)
include(${CMAKE_CURRENT_LIST_DIR}/linux-targets.cmake)
linux_target("${STAGGER_TARGET}")

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${target_processor})
set(CMAKE_CXX_COMPILER ${target_triple}-g++)
set(CMAKE_STRIP ${target_triple}-strip)

# A build for another machine finds its libraries in the cross tree, and
# its tests run its programs under qemu-user where the kernel cannot. The
# guest's loader comes from the cross tree but reads the host's
# /etc/ld.so.cache, which may name a C library of another build for the
# same machine (libc6-i386's, for a 32-bit x86 guest): one that hangs at
# the first thread. Its library path keeps it to the tree's own. A build
# for this machine needs neither.
if(NOT target_processor STREQUAL CMAKE_HOST_SYSTEM_PROCESSOR)
  set(CMAKE_FIND_ROOT_PATH /usr/${target_triple})
  set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
  set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${target_qemu} -L /usr/${target_triple}
      -E LD_LIBRARY_PATH=/usr/${target_triple}/lib)
endif()

# On musl, the same compiler takes musl's headers, start files and libc.a
# (Debian's musl-dev:ARCH, under /usr/include/MUSL and /usr/lib/MUSL) in
# place of glibc's. A static program on musl carries little more than
# what it calls, where one on glibc carries most of glibc's start-up.
# libstdc++'s headers are made for glibc and do not preprocess over
# musl's; libc++'s (Debian's libc++-dev) are made for any C library, and
# the program, which calls nothing of the C++ runtime, links without one.
if(STAGGER_LIBC STREQUAL "musl")
  if(target_musl STREQUAL "glibc")
    message(FATAL_ERROR "linux-targets has no musl for ${STAGGER_TARGET}")
  endif()
  string(APPEND CMAKE_CXX_FLAGS_INIT
         " -nostdinc -nostdinc++ -isystem /usr/lib/llvm-14/include/c++/v1"
         " -isystem /usr/include/${target_musl}")
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT
         " -B/usr/lib/${target_musl} -L/usr/lib/${target_musl}")
elseif(STAGGER_LIBC)
  message(FATAL_ERROR "STAGGER_LIBC is musl or unset, not '${STAGGER_LIBC}'")
endif()
