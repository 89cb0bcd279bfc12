# linux_target(ARCH): reads the row of the table linux-targets whose first
# column is ARCH, Debian's name for the machine, and sets target_triple,
# target_qemu, target_processor (the first of what uname -m says) and
# target_musl (musl's folder name, or "glibc") in the caller's scope.
function(linux_target arch)
  file(STRINGS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../linux-targets rows
       REGEX "^${arch} ")
  if(NOT rows MATCHES "^[^ ]+ +[^ ]+ +([^ ]+) +([^ ]+) +([^ ,]+)[^ ]* +([^ ]+) +(yes|no) +(static|static-pie) +[^ ]")
    message(FATAL_ERROR "linux-targets has no row for '${arch}', or not a whole one")
  endif()
  set(target_triple ${CMAKE_MATCH_1} PARENT_SCOPE)
  set(target_qemu ${CMAKE_MATCH_2} PARENT_SCOPE)
  set(target_processor ${CMAKE_MATCH_3} PARENT_SCOPE)
  set(target_musl ${CMAKE_MATCH_4} PARENT_SCOPE)
endfunction()
