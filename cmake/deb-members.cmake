# Run by cpack on each package that it has made. A .deb is an ar archive of
# three members, to which cpack gives the mode of its own temporary files,
# and so the builder's umask; write 0644 over each, as dpkg-deb does.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(header 8) # after the archive's "!<arch>\n"
  foreach(member debian-binary control.tar.gz data.tar.gz)
    # A member's header is 60 bytes: its mode is the 8 from byte 40 on,
    # its size the 10 from byte 48; its data is padded to an even length.
    file(READ ${deb} name OFFSET ${header} LIMIT 16)
    if(NOT name MATCHES "^${member}/? ")
      message(FATAL_ERROR "${deb}: no ${member} at byte ${header}")
    endif()
    math(EXPR mode_at "${header} + 40")
    math(EXPR size_at "${header} + 48")
    execute_process(
      COMMAND sh -c "printf '100644  ' | dd of=\"$0\" bs=1 seek=$1 conv=notrunc 2>/dev/null"
              ${deb} ${mode_at}
      COMMAND_ERROR_IS_FATAL ANY)
    file(READ ${deb} size OFFSET ${size_at} LIMIT 10)
    string(STRIP "${size}" size)
    math(EXPR header "${header} + 60 + ${size} + ${size} % 2")
  endforeach()
endforeach()
