# The packages that `cmake --build BUILD --target package` makes: a tar
# archive of the installed files and, where dpkg is at hand, a Debian
# package. Both are reproducible: the same bytes from the same commit,
# whoever builds it, wherever, whenever.

# Both are named for the machine that the program is built for, as Debian
# names it where dpkg is: a cross build's packages are not the build
# machine's. That name is asked of dpkg-architecture when the packages are
# made, not here, so that a build that follows an install of the tools
# names them right (package-time.cmake).
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -dumpmachine
                OUTPUT_VARIABLE CPACK_STAGGER_TARGET
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
set(CPACK_STAGGER_PROCESSOR ${CMAKE_SYSTEM_PROCESSOR})
string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" CPACK_SYSTEM_NAME)
# macOS's are named as uname -m names the machine that the program is for,
# which a Mac builds for either of its two.
if(APPLE)
  set(machine ${CMAKE_SYSTEM_PROCESSOR})
  if(CMAKE_OSX_ARCHITECTURES MATCHES "^[^;]+$")
    set(machine ${CMAKE_OSX_ARCHITECTURES})
  endif()
  set(CPACK_SYSTEM_NAME macos-${machine})
endif()

set(CPACK_PACKAGE_VENDOR "The stagger authors")
set(CPACK_PACKAGE_CONTACT "The stagger authors <stagger@example.org>")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "stagger starts a worker thread that writes the numbers 0 to 9 to\n"
  "standard output, one a second, and three seconds later a second\n"
  "worker that does the same. The two counts interleave, and after\n"
  "about 13 seconds, when both are done, it exits.\n"
  "\n"
  "Each number is flushed as it is written, so a terminal or a pipe\n"
  "sees it at once. A worker that cannot be created, or output that\n"
  "cannot be written, is reported on standard error with exit status 1.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/package-time.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/staging.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb-depends.cmake
                              ${CMAKE_CURRENT_LIST_DIR}/deb-size.cmake
                              ${CMAKE_CURRENT_LIST_DIR}/deb-members.cmake
                              ${CMAKE_CURRENT_LIST_DIR}/tar-files.cmake
                              ${CMAKE_CURRENT_LIST_DIR}/zip-files.cmake)
set(CPACK_STAGGER_STRIP ${CMAKE_STRIP})
set(CPACK_STAGGER_BINDIR ${CMAKE_INSTALL_BINDIR})
set(CPACK_STAGGER_MANDIR ${CMAKE_INSTALL_MANDIR})
set(CPACK_STAGGER_DOCDIR ${CMAKE_INSTALL_DOCDIR})
set(CPACK_STAGGER_DEBIAN_DIR ${PROJECT_BINARY_DIR}/debian)

# Debian's programs use the system's C library: a static build makes the
# tarball alone. Windows takes a zip archive; a Debian package, and a
# name of Debian's, are for Linux alone, whatever else has dpkg.
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR TGZ)
  if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    find_program(DPKG dpkg)
    mark_as_advanced(DPKG)
  endif()
  set(CPACK_STAGGER_DEBIAN_NAMES ${DPKG})
  if(DPKG AND NOT STAGGER_STATIC)
    list(APPEND CPACK_GENERATOR DEB)
    set(CPACK_STAGGER_DEB ON)
  endif()
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# The start of DATE (YYYY-MM-DD, UTC) as seconds from 1970, as Debian
# writes it, and as a manual page's date, by the civil calendar: the
# months are counted from March, so that the leap day comes last.
# string(TIMESTAMP) formats no time but the present or SOURCE_DATE_EPOCH,
# so the builder's is set aside meanwhile.
function(release_time date seconds_var rfc2822_var manual_var)
  string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" ymd "${date}")
  set(year ${CMAKE_MATCH_1})
  math(EXPR month "${CMAKE_MATCH_2} + 9")
  if(month GREATER 11)
    math(EXPR month "${month} - 12")
  else()
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR days "${year} * 365 + ${year} / 4 - ${year} / 100 + ${year} / 400")
  math(EXPR days "${days} + (153 * ${month} + 2) / 5 + ${CMAKE_MATCH_3} - 719469")
  math(EXPR seconds "${days} * 86400")
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(builders_epoch $ENV{SOURCE_DATE_EPOCH})
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${seconds})
  string(TIMESTAMP rfc2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
  string(TIMESTAMP manual "%B %d, %Y" UTC)
  string(REGEX REPLACE " 0([1-9]), " " \\1, " manual "${manual}")
  if(DEFINED builders_epoch)
    set(ENV{SOURCE_DATE_EPOCH} ${builders_epoch})
  else()
    unset(ENV{SOURCE_DATE_EPOCH})
  endif()
  set(${seconds_var} ${seconds} PARENT_SCOPE)
  set(${rfc2822_var} ${rfc2822} PARENT_SCOPE)
  set(${manual_var} ${manual} PARENT_SCOPE)
endfunction()

# NEWS.md, rewritten as the Debian changelog: each "## VERSION (DATE)"
# section is an entry, its "- " items the entry's "* " items; the newest,
# "## VERSION (DATE, unreleased)" until it is released, must be this
# version's. Its date is the manual's, and the time of every file in both
# packages unless the builder sets SOURCE_DATE_EPOCH.
file(STRINGS NEWS.md news)
set(changelog "")
foreach(line IN LISTS news)
  if(line MATCHES "^## ([^ ]+) \\(([-0-9]+)(, unreleased)?\\)$")
    release_time(${CMAKE_MATCH_2} time date manual)
    if(changelog)
      string(APPEND changelog "\n${signature}\n\n")
    elseif(CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
      set(CPACK_STAGGER_RELEASE_TIME ${time})
      set(STAGGER_MANUAL_DATE ${manual})
    else()
      message(FATAL_ERROR "NEWS.md's newest release is not ${PROJECT_VERSION}")
    endif()
    string(APPEND changelog
      "${PROJECT_NAME} (${CMAKE_MATCH_1}) unstable; urgency=medium\n\n")
    set(signature " -- ${CPACK_PACKAGE_CONTACT}  ${date}")
  elseif(line MATCHES "^## ")
    message(FATAL_ERROR "NEWS.md: not '## VERSION (YYYY-MM-DD)': ${line}")
  elseif(changelog AND line)
    string(REGEX REPLACE "^- " "* " line "${line}")
    string(APPEND changelog "  ${line}\n")
  endif()
endforeach()
if(NOT changelog)
  message(FATAL_ERROR "NEWS.md has no '## ${PROJECT_VERSION} (YYYY-MM-DD)'")
endif()
string(APPEND changelog "\n${signature}\n")
file(WRITE ${CPACK_STAGGER_DEBIAN_DIR}/changelog "${changelog}")

# LICENSE, in Debian's machine-readable copyright format.
file(READ LICENSE license)
string(REGEX MATCH "^Copyright \\(c\\) ([^\n]*)\n\n(.*)$" license "${license}")
set(holders ${CMAKE_MATCH_1})
string(REGEX REPLACE "\n\n" "\n.\n" terms "${CMAKE_MATCH_2}")
string(REGEX REPLACE "([^\n]+)" " \\1" terms "${terms}")
file(WRITE ${CPACK_STAGGER_DEBIAN_DIR}/copyright
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: ${PROJECT_NAME}\n"
  "\n"
  "Files: *\n"
  "Copyright: ${holders}\n"
  "License: ISC\n"
  "${terms}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS NEWS.md LICENSE)

include(CPack)
