# Run by CPack after it has written the packages: rewrites each .zip and
# .tar.gz with its entries sorted by name (this CPack adds them in the order
# the file system lists them), so that two builds of one commit give
# byte-identical archives. CMake's archive writer puts every time later than
# SOURCE_DATE_EPOCH (the commit's time) back to it. The Debian package is
# already written that way.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be set for reproducible archives")
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(package MATCHES "\\.zip$")
    set(mode cf)
    set(format --format=zip)
  elseif(package MATCHES "\\.tar\\.gz$")
    set(mode czf)
    set(format)
  else()
    continue()
  endif()
  set(unpacked ${package}.unpacked)
  file(REMOVE_RECURSE ${unpacked})
  file(ARCHIVE_EXTRACT INPUT ${package} DESTINATION ${unpacked})
  file(GLOB_RECURSE entries LIST_DIRECTORIES false RELATIVE ${unpacked} ${unpacked}/*)
  list(SORT entries)
  list(JOIN entries "\n" listing)
  file(WRITE ${package}.entries "${listing}\n")
  file(REMOVE ${package})
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar ${mode} ${package} ${format}
            --files-from=${package}.entries
    WORKING_DIRECTORY ${unpacked} RESULT_VARIABLE failed)
  file(REMOVE_RECURSE ${unpacked} ${package}.entries)
  if(failed)
    message(FATAL_ERROR "could not rewrite ${package}")
  endif()
endforeach()
