# What the cross toolchain files share: Debian's cross compiler for TRIPLE,
# whose libraries live under /usr/TRIPLE, and qemu-user for the machine,
# through which the tests run the programs that this kernel cannot run.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_CXX_COMPILER ${triple}-g++)
set(CMAKE_STRIP ${triple}-strip)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The guest's loader comes from the cross tree but reads the host's
# /etc/ld.so.cache, which may name a C library of another build for the
# same machine (libc6-i386's, for a 32-bit x86 guest): one that hangs at
# the first thread. Its library path keeps it to the tree's own.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${qemu} -L /usr/${triple} -E LD_LIBRARY_PATH=/usr/${triple}/lib)
