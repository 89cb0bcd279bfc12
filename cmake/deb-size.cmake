# Run by cpack on each package that it has made. cpack gives a Debian
# package's Installed-Size as the sizes of its files and folders as the
# builder's file system counts them, a folder 4 KiB on one and a few bytes
# on another: the same package would differ from one builder to the next.
# It is written again as dpkg-gencontrol counts it, a KiB for each folder
# and each file's size in KiB, rounded up, and the package made again of
# the same members, by ar, with no times or owners of the builder's.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(work ${deb}.members)
  file(REMOVE_RECURSE ${work})
  file(MAKE_DIRECTORY ${work}/control)
  execute_process(COMMAND ar x ${deb} WORKING_DIRECTORY ${work}
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND tar -tvzf data.tar.gz WORKING_DIRECTORY ${work}
                  OUTPUT_VARIABLE listing COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "[^\n]+" entries "${listing}")
  set(kib 0)
  foreach(entry IN LISTS entries)
    if(entry MATCHES "^-[^ ]+ +[^ ]+ +([0-9]+) ")
      math(EXPR kib "${kib} + (${CMAKE_MATCH_1} + 1023) / 1024")
    else()
      math(EXPR kib "${kib} + 1")
    endif()
  endforeach()
  execute_process(COMMAND tar -tzf control.tar.gz WORKING_DIRECTORY ${work}
                  OUTPUT_VARIABLE members OUTPUT_STRIP_TRAILING_WHITESPACE
                  COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "\n" ";" members "${members}")
  execute_process(COMMAND tar -xzf ../control.tar.gz WORKING_DIRECTORY ${work}/control
                  COMMAND_ERROR_IS_FATAL ANY)
  file(READ ${work}/control/control control)
  string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${kib}\n"
         control "${control}")
  file(WRITE ${work}/control/control "${control}")
  execute_process(
    COMMAND tar -C ${work}/control --create --format=gnu --no-recursion
            --owner=root:0 --group=root:0 --mode=u=rw,go=r
            --mtime=@$ENV{SOURCE_DATE_EPOCH} ${members}
    COMMAND gzip -n -9
    OUTPUT_FILE ${work}/control.tar.gz
    COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE ${deb})
  execute_process(COMMAND ar rcD ${deb} debian-binary control.tar.gz data.tar.gz
                  WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${work})
endforeach()
