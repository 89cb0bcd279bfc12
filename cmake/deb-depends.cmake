# Run by cpack on each package that it has made. A Debian package whose
# Depends names no C library installs where it cannot run: CPack makes
# one, saying only that it uses no computed dependencies, whenever it
# cannot run dpkg-shlibdeps. Such a package is removed, and the target
# fails.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND dpkg-deb --field ${deb} Depends
                  OUTPUT_VARIABLE depends OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT depends MATCHES "(^|, )libc6(\\.1)? \\(>= [0-9]")
    file(REMOVE ${deb})
    message(FATAL_ERROR "${deb}: made without the C library in its "
      "dependencies (Depends: ${depends}), so removed: dpkg-shlibdeps, "
      "in dpkg-dev, must be here and executable")
  endif()
endforeach()
