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
