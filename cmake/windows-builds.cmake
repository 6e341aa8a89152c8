# The Windows libraries are cross-built from this same source tree, one
# build tree per target, as part of the native build. Each installs its
# plug-ins into dist/<target>/plugins, laid out like the host's folder.
option(SORVEL_WINDOWS "Cross-build the Windows plug-ins" ON)
set(SORVEL_DIST_DIR "${PROJECT_SOURCE_DIR}/dist" CACHE PATH "Where the plug-in folders go")

if(SORVEL_WINDOWS)
  include(ExternalProject)
  foreach(target win32:i686 win64:x86_64)
    string(REPLACE ":" ";" pair ${target})
    list(GET pair 0 dist)
    list(GET pair 1 arch)
    ExternalProject_Add(windows-${dist}
      SOURCE_DIR "${PROJECT_SOURCE_DIR}"
      BINARY_DIR "${CMAKE_BINARY_DIR}/${dist}"
      CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-${arch}.cmake
        -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
        -DSORVEL_WERROR=${SORVEL_WERROR}
        -DSORVEL_TESTS=${SORVEL_TESTS}
        -DCMAKE_INSTALL_PREFIX=${SORVEL_DIST_DIR}/${dist}
      # What is installed into dist/ is what ships: stripped of symbols (the
      # build tree keeps them for the static checks of the code), with the
      # commit's time as the PE time stamp, and whatever DESTDIR the native
      # build is installed or packaged with.
      INSTALL_COMMAND ${CMAKE_COMMAND} -E env --unset=DESTDIR SOURCE_DATE_EPOCH=${SORVEL_SOURCE_DATE}
                      ${CMAKE_COMMAND} --install <BINARY_DIR> --strip
      BUILD_ALWAYS ON
      USES_TERMINAL_BUILD ON)
    set(SORVEL_${dist}_DIR "${CMAKE_BINARY_DIR}/${dist}")
    set(SORVEL_${dist}_ARCH ${arch})
  endforeach()

  # The Wine tests run the 64-bit programs everywhere and the 32-bit ones
  # where a 32-bit Windows program was seen to run under this machine's
  # Wine. The answer is kept while the installed 32-bit Wine stays the same.
  if(SORVEL_TESTS)
    execute_process(COMMAND dpkg-query -W "-f=\${Version}" wine32:i386
                    OUTPUT_VARIABLE wine32_version ERROR_QUIET)
    if(NOT DEFINED SORVEL_WINE32_PROBED OR NOT SORVEL_WINE32_PROBED STREQUAL "${wine32_version}")
      message(STATUS "Looking for a 32-bit Wine that runs 32-bit programs")
      execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/runs-wine32 ${CMAKE_BINARY_DIR}/wine32-probe
                      RESULT_VARIABLE no_wine32 OUTPUT_VARIABLE reason OUTPUT_STRIP_TRAILING_WHITESPACE)
      if(no_wine32)
        set(SORVEL_NO_WINE32_REASON "${reason}" CACHE INTERNAL "")
      else()
        set(SORVEL_NO_WINE32_REASON "" CACHE INTERNAL "")
      endif()
      set(SORVEL_WINE32_PROBED "${wine32_version}" CACHE INTERNAL "")
    endif()
    set(SORVEL_WINE_TARGETS win64)
    if(SORVEL_NO_WINE32_REASON)
      message(STATUS "The 32-bit Wine tests are skipped: ${SORVEL_NO_WINE32_REASON}")
    else()
      list(APPEND SORVEL_WINE_TARGETS win32)
    endif()
    include(${PROJECT_SOURCE_DIR}/cmake/avisynth.cmake)
  endif()
endif()
