# What the toolchain files of the programs on musl share: the release's
# compiler for the machine, against musl's headers, start files and libc.a
# (Debian's musl-dev:ARCH, under /usr/include/MUSL and /usr/lib/MUSL) in
# place of glibc's. A static program on musl carries little more than
# what it calls, where one on glibc carries most of glibc's start-up.
# libstdc++'s headers are made for glibc and do not preprocess over
# musl's; libc++'s (Debian's libc++-dev) are made for any C library, and
# the program, which calls nothing of the C++ runtime, links without one.
string(APPEND CMAKE_CXX_FLAGS_INIT
       " -nostdinc -nostdinc++ -isystem /usr/lib/llvm-14/include/c++/v1"
       " -isystem /usr/include/${musl}")
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -B/usr/lib/${musl} -L/usr/lib/${musl}")
