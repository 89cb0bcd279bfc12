# Run by cpack on each package that it has made. A zip archive keeps its
# entries in the order that the builder's file system lists the staged
# files, which differs from one file system to another, and each entry's
# change time, which differs from one build to the next. The archive is
# made again, by Info-ZIP's zip, of its files in sorted order, with the
# modes that the install gave them and the release's time, and nothing
# else of the file system's (-X). Without zip, it stays as cpack made it.
if(NOT CPACK_GENERATOR STREQUAL "ZIP")
  return()
endif()
find_program(INFO_ZIP zip)
if(NOT INFO_ZIP)
  message(STATUS "No zip: the archive keeps its entries in the file system's order")
  return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/unpack.cmake)
foreach(zip IN LISTS CPACK_PACKAGE_FILES)
  set(unpacked ${zip}.files)
  unpack(${zip} ${unpacked} files)
  foreach(file IN LISTS files)
    # The extraction's modes are the builder's umask's.
    set(execute "")
    if(file MATCHES "\\.exe$")
      set(execute OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
    endif()
    file(CHMOD ${unpacked}/${file}
         PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ ${execute})
    execute_process(COMMAND touch -d @$ENV{SOURCE_DATE_EPOCH} ${unpacked}/${file}
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  file(REMOVE ${zip})
  execute_process(COMMAND ${INFO_ZIP} -q -X -D -9 ${zip} ${files}
                  WORKING_DIRECTORY ${unpacked}
                  COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${unpacked})
endforeach()
