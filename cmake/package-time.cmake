# Read by cpack before it makes each package, and so before it installs
# the files for it or strips the program. What the packages need is found
# here, before the first is made: a package target that fails makes none,
# and the one run after the missing tools are installed makes them all.

# Where dpkg is, the packages are named for the program's machine as
# Debian names it, which dpkg-architecture (in dpkg-dev) tells from the
# compiler's target. A Debian package also needs dpkg-shlibdeps to compute
# its dependencies, from the C library of its architecture (for a foreign
# one, installed beside the system's own), and file, which CPack's Debian
# step takes: without them it would make a package with no dependencies,
# one that installs where it cannot run. Elsewhere, the packages take the
# machine's name from CMake.
# cpack reads this without the project's policies: find_program would
# otherwise take a tool that is there but cannot be run.
cmake_policy(SET CMP0109 NEW)
set(arch ${CPACK_STAGGER_PROCESSOR})
if(CPACK_STAGGER_DEBIAN_NAMES)
  find_program(DPKG_ARCHITECTURE dpkg-architecture)
  set(tools ${DPKG_ARCHITECTURE})
  if(CPACK_STAGGER_DEB)
    find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
    find_program(FILE_UTILITY file)
    list(APPEND tools ${DPKG_SHLIBDEPS} ${FILE_UTILITY})
  endif()
  if(tools MATCHES "NOTFOUND")
    message(FATAL_ERROR "the packages are named, and a Debian package's "
      "dependencies computed, by dpkg-architecture, dpkg-shlibdeps and "
      "file, each to be found on the PATH and executable: install the "
      "packages dpkg-dev and file")
  endif()
  execute_process(COMMAND ${DPKG_ARCHITECTURE} -t ${CPACK_STAGGER_TARGET}
                          -q DEB_HOST_ARCH
                  OUTPUT_VARIABLE debian_arch
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(debian_arch)
    set(arch ${debian_arch})
  endif()
  if(CPACK_STAGGER_DEB)
    set(libc libc6:${arch})
    execute_process(COMMAND dpkg-query -W -f=\${db:Status-Status} ${libc}
                    OUTPUT_VARIABLE status ERROR_QUIET)
    if(NOT status STREQUAL "installed")
      message(FATAL_ERROR "a Debian package for ${arch} takes its "
        "dependencies from ${libc}: dpkg --add-architecture ${arch}, "
        "apt-get update, and install it")
    endif()
  endif()
  set(CPACK_PACKAGE_FILE_NAME
      ${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-linux-${arch})
endif()
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${arch})

# Every file in a package has the time that the builder's SOURCE_DATE_EPOCH
# says or, failing that, the newest release's date: never the build's own.
# That is also the time that strip writes into a Windows program.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_STAGGER_RELEASE_TIME})
endif()
# A zip archive keeps each file's time as the clock on the wall shows it,
# in the builder's time zone unless told otherwise.
set(ENV{TZ} UTC)
