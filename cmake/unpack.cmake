# unpack(ARCHIVE DIR FILES_VAR): extracts ARCHIVE into DIR, made anew, and
# sets FILES_VAR to its files, relative to DIR, sorted: the order in which
# the packaging scripts make an archive again, whatever order the
# builder's file system lists them in.
function(unpack archive dir files_var)
  file(REMOVE_RECURSE ${dir})
  file(MAKE_DIRECTORY ${dir})
  file(ARCHIVE_EXTRACT INPUT ${archive} DESTINATION ${dir})
  file(GLOB_RECURSE files RELATIVE ${dir} ${dir}/*)
  list(SORT files)
  set(${files_var} ${files} PARENT_SCOPE)
endfunction()
