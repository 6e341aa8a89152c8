# Run by CPack after it has written the packages: CPack's Debian generator
# adds postinst and postrm scripts that only call ldconfig whenever a
# library lies under /usr/lib (here the frei0r plug-ins, which no program
# links). glibc's dpkg trigger runs ldconfig itself now, and lintian warns
# about such scripts (maintscript-calls-ldconfig), so the package is built
# again without them. Its files and their times stay as they were.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  set(tree ${package}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb -R ${package} ${tree} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot unpack ${package}")
  endif()
  foreach(script postinst postrm)
    if(EXISTS ${tree}/DEBIAN/${script})
      file(STRINGS ${tree}/DEBIAN/${script} lines)
      list(FILTER lines EXCLUDE REGEX "^(#!/bin/sh|set -e|[ \t]*ldconfig|if \\[ \"\\$1\" = \"(configure|remove)\" \\]; then|fi|)$")
      if(lines)
        message(FATAL_ERROR "${script} of ${package} does more than call ldconfig: ${lines}")
      endif()
      file(REMOVE ${tree}/DEBIAN/${script})
    endif()
  endforeach()
  execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip -b ${tree} ${package}
                  OUTPUT_QUIET RESULT_VARIABLE failed)
  file(REMOVE_RECURSE ${tree})
  if(failed)
    message(FATAL_ERROR "cannot build ${package} again")
  endif()
endforeach()
