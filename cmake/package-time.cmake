# Read by cpack before it installs the files for each package, and so
# before it strips the program.

# Every file in a package has the time that the builder's SOURCE_DATE_EPOCH
# says or, failing that, the newest release's date: never the build's own.
# That is also the time that strip writes into a Windows program.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_STAGGER_RELEASE_TIME})
endif()
# A zip archive keeps each file's time as the clock on the wall shows it,
# in the builder's time zone unless told otherwise.
set(ENV{TZ} UTC)
