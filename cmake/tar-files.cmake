# Run by cpack on each package that it has made. A tarball that is meant to
# be unpacked over a prefix such as /usr/local holds its files alone: an
# entry for a folder would give the folder already there (/usr/local/bin,
# say) the entry's time and, unpacked by root, its mode and owner. The
# tarball is made again of its files, as reproducibly as cpack made it:
# their modes as the install gave them, not as the umask left them.
# It takes GNU tar, which macOS and the BSDs have as gtar; with another,
# the tarball stays as cpack made it.
if(NOT CPACK_GENERATOR STREQUAL "TGZ")
  return()
endif()
find_program(GNU_TAR NAMES gtar tar)
execute_process(COMMAND ${GNU_TAR} --version OUTPUT_VARIABLE tar_version ERROR_QUIET)
if(NOT tar_version MATCHES "GNU tar")
  message(STATUS "No GNU tar: the tarball keeps its folders' entries")
  return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/unpack.cmake)
foreach(tarball IN LISTS CPACK_PACKAGE_FILES)
  set(unpacked ${tarball}.files)
  unpack(${tarball} ${unpacked} files)
  execute_process(
    COMMAND ${GNU_TAR} -C ${unpacked} --create --format=ustar --no-recursion
            --owner=root:0 --group=root:0 --mode=u=rwX,go=rX
            --mtime=@$ENV{SOURCE_DATE_EPOCH}
            ${files}
    COMMAND gzip -n -9
    OUTPUT_FILE ${tarball}
    COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${unpacked})
endforeach()
