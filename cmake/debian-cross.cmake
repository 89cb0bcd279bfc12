# What the cross toolchain files share: Debian's cross compiler for TRIPLE,
# whose libraries live under /usr/TRIPLE, and, for a machine that this one
# cannot run, qemu-user with that tree as the guest's root, through which
# CTest runs the programs.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_CXX_COMPILER ${triple}-g++)
set(CMAKE_STRIP ${triple}-strip)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
if(DEFINED qemu)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${qemu} -L /usr/${triple})
endif()
