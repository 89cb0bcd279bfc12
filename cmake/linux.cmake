# The toolchain file of the Linux machines, given the machine's row of
# linux-targets by scripts/release: STAGGER_TRIPLE, of Debian's g++ for it;
# STAGGER_PROCESSOR, its uname -m; STAGGER_QEMU, its emulator; and, to
# build on musl, STAGGER_MUSL, musl's folder for it.
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES
    STAGGER_TRIPLE STAGGER_PROCESSOR STAGGER_QEMU STAGGER_MUSL)
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${STAGGER_PROCESSOR})
set(CMAKE_CXX_COMPILER ${STAGGER_TRIPLE}-g++)
set(CMAKE_STRIP ${STAGGER_TRIPLE}-strip)

# A build for another machine finds its libraries in the cross tree, and
# its tests run its programs under qemu-user. The guest's loader, from the
# cross tree, reads the host's /etc/ld.so.cache, which may name another
# build's C library for the machine (libc6-i386's, for a 32-bit x86 guest),
# one that hangs at the first thread: its library path keeps to the tree.
if(NOT STAGGER_PROCESSOR STREQUAL CMAKE_HOST_SYSTEM_PROCESSOR)
  set(CMAKE_FIND_ROOT_PATH /usr/${STAGGER_TRIPLE})
  set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
  set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${STAGGER_QEMU} -L /usr/${STAGGER_TRIPLE}
      -E LD_LIBRARY_PATH=/usr/${STAGGER_TRIPLE}/lib)
endif()

# On musl, the same compiler takes musl's headers, start files and libc.a
# (musl-dev:ARCH) for glibc's: a static program on musl carries little more
# than what it calls. libstdc++'s headers do not preprocess over musl's;
# libc++'s do, and the program calls nothing of the C++ runtime.
if(STAGGER_MUSL)
  string(APPEND CMAKE_CXX_FLAGS_INIT
         " -nostdinc -nostdinc++ -isystem /usr/lib/llvm-14/include/c++/v1"
         " -isystem /usr/include/${STAGGER_MUSL}")
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT
         " -B/usr/lib/${STAGGER_MUSL} -L/usr/lib/${STAGGER_MUSL}")
endif()
