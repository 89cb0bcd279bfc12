# Run by cpack on the files staged for each package, before it packs them.

# Directories are made under the builder's umask; in a package they are
# 0755 whatever it was.
file(GLOB_RECURSE staged LIST_DIRECTORIES true ${CPACK_TEMPORARY_DIRECTORY}/*)
foreach(path IN LISTS staged)
  if(IS_DIRECTORY ${path})
    file(CHMOD ${path} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
         GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()

# CPack's Debian step needs file, and without dpkg-shlibdeps it would make
# a package with no dependencies, one that installs where it cannot run.
# dpkg-shlibdeps reads them from the C library of the package's
# architecture, which for a foreign one is installed beside the system's.
if(CPACK_GENERATOR STREQUAL "DEB")
  find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
  find_program(FILE_UTILITY file)
  if(NOT DPKG_SHLIBDEPS OR NOT FILE_UTILITY)
    message(FATAL_ERROR "a Debian package needs dpkg-shlibdeps and file "
      "to compute its dependencies: install the packages dpkg-dev and file")
  endif()
  set(libc libc6:${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
  execute_process(COMMAND dpkg-query -W -f=\${db:Status-Status} ${libc}
                  OUTPUT_VARIABLE status ERROR_QUIET)
  if(NOT status STREQUAL "installed")
    message(FATAL_ERROR "a Debian package for "
      "${CPACK_DEBIAN_PACKAGE_ARCHITECTURE} takes its dependencies from "
      "${libc}: dpkg --add-architecture "
      "${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}, apt-get update, and install it")
  endif()
endif()

# Debian wants the manual and the changelog compressed without a name or a
# time in them, the licence and release notes in its own formats, and the
# program without the compilers' notes on themselves, as dh_strip leaves it.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(usr ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
  execute_process(
    COMMAND ${CPACK_STAGGER_STRIP} --remove-section=.comment
            --remove-section=.note ${usr}/${CPACK_STAGGER_BINDIR}/stagger
    COMMAND_ERROR_IS_FATAL ANY)
  set(doc ${usr}/${CPACK_STAGGER_DOCDIR})
  file(REMOVE ${doc}/LICENSE ${doc}/NEWS.md)
  file(COPY ${CPACK_STAGGER_DEBIAN_DIR}/copyright
            ${CPACK_STAGGER_DEBIAN_DIR}/changelog DESTINATION ${doc}
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  execute_process(
    COMMAND gzip -n -9 ${doc}/changelog ${usr}/${CPACK_STAGGER_MANDIR}/man1/stagger.1
    COMMAND_ERROR_IS_FATAL ANY)
endif()
