# Tests of the cross-built Windows libraries: loaded by the test hosts and by
# AviSynth+ under Wine (the 32-bit ones where 32-bit programs run there),
# and checked statically.
set(wine_prefix ${CMAKE_CURRENT_BINARY_DIR}/wineprefix)
set(run_wine ${CMAKE_CURRENT_SOURCE_DIR}/winhost/run-under-wine ${wine_prefix})

# One X server for the whole run: the prefix is made on it, and it stops
# after the last test that needs Wine.
set(x_server ${CMAKE_CURRENT_SOURCE_DIR}/winhost/x-server)
add_test(NAME x_server_start COMMAND ${x_server} start ${wine_prefix}.display)
add_test(NAME x_server_stop COMMAND ${x_server} stop ${wine_prefix}.display)
set_tests_properties(x_server_start PROPERTIES FIXTURES_SETUP xserver)
set_tests_properties(x_server_stop PROPERTIES FIXTURES_CLEANUP "wine;xserver")

# The prefix with its Wine server running until the last Wine test is over.
set(wine_session ${CMAKE_CURRENT_SOURCE_DIR}/winhost/wine-session)
add_test(NAME wine_prefix COMMAND ${wine_session} start ${wine_prefix})
add_test(NAME wine_stop COMMAND ${wine_session} stop ${wine_prefix})
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine FIXTURES_REQUIRED xserver TIMEOUT 300)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine FIXTURES_REQUIRED xserver)

# The test host, the soak and the dialog tests, for each target whose
# programs run here.
foreach(target ${SORVEL_WINE_TARGETS})
  set(dir ${SORVEL_${target}_DIR})
  foreach(plugin yiq:YIQ rgb:RGB hsv:SV)
    string(REPLACE ":" ";" pair ${plugin})
    list(GET pair 0 kind)
    list(GET pair 1 suffix)
    # The shipped library, as installed into dist/.
    set(library ${SORVEL_DIST_DIR}/${target}/plugins/sorv${suffix}.vdf)
    add_test(NAME winhost_${target}_${kind}
             COMMAND ${run_wine} ${dir}/tests/winhost/winhost.exe ${library} ${kind}
                     ${CMAKE_CURRENT_BINARY_DIR}/expectations.txt)
    set_tests_properties(winhost_${target}_${kind} PROPERTIES
      FIXTURES_REQUIRED "wine;expectations" TIMEOUT 600 LABELS wine)

    # Thousands of instance and dialog cycles per library leave memory and
    # handles where they were.
    add_test(NAME soak_${target}_${kind} COMMAND ${run_wine} ${dir}/tests/winhost/soak.exe ${library} 1500)
    set_tests_properties(soak_${target}_${kind} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600 LABELS wine)

    # The configuration dialog in real windows: layout, sliders, buttons,
    # preview calls and Help.
    add_test(NAME dialog_${target}_${kind} COMMAND ${run_wine} ${dir}/tests/winhost/dialoghost.exe ${library} ${kind})
    set_tests_properties(dialog_${target}_${kind} PROPERTIES
      FIXTURES_REQUIRED "wine;expectations" TIMEOUT 120 LABELS wine)
  endforeach()

  # The three libraries in AviSynth+, an independent host.
  add_test(NAME avisynth_${target}
           COMMAND ${run_wine} ${dir}/tests/winhost/avisynth_host.exe ${SORVEL_AVISYNTH_${target}_DIR}
                   ${SORVEL_DIST_DIR}/${target}/plugins/sorvYIQ.vdf ${SORVEL_DIST_DIR}/${target}/plugins/sorvRGB.vdf
                   ${SORVEL_DIST_DIR}/${target}/plugins/sorvSV.vdf)
  set_tests_properties(avisynth_${target} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600 LABELS wine)
endforeach()
if(NOT win32 IN_LIST SORVEL_WINE_TARGETS)
  add_test(NAME wine32_skipped
           COMMAND sh -c "echo 'SKIPPED the 32-bit Wine tests: ${SORVEL_NO_WINE32_REASON}'; exit 77")
  set_tests_properties(wine32_skipped PROPERTIES SKIP_RETURN_CODE 77)
endif()

foreach(plugin yiq:YIQ rgb:RGB hsv:SV)
  string(REPLACE ":" ";" pair ${plugin})
  list(GET pair 0 kind)
  list(GET pair 1 suffix)
  # The shipped library: exports, imports and its size budget of 64 KB.
  foreach(bits 32 64)
    add_test(NAME static_win${bits}_${kind}
             COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tools/check-vdf ${SORVEL_DIST_DIR}/win${bits}/plugins/sorv${suffix}.vdf 65536)
  endforeach()
endforeach()

# Pictures of the three dialogs with their defaults, into the build tree
# (docs/dialog-*.png are copies of these).
add_executable(bmp_to_png tools/bmp_to_png.cpp)
target_link_libraries(bmp_to_png PRIVATE sorvel_cli sorvel_warnings)
add_test(NAME dialog_screenshots
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/winhost/dialog-screenshots ${wine_prefix}
                 ${SORVEL_win64_DIR}/tests/winhost/dialoghost.exe
                 ${SORVEL_win64_DIR} $<TARGET_FILE:bmp_to_png> ${CMAKE_CURRENT_BINARY_DIR}/screenshots)
# Taken from the screen: no other dialog test may run meanwhile.
set_tests_properties(dialog_screenshots PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120 LABELS wine RUN_SERIAL TRUE)

# Version resources, read through the Windows version API: the shipped
# (stripped) files of both bitnesses.
set(versioninfo ${SORVEL_win64_DIR}/tests/winhost/versioninfo.exe)
foreach(file "plugins/sorvYIQ.vdf;Video Sorvel (YIQ) v1.0" "plugins/sorvRGB.vdf;Video Sorvel (RGB) v1.0"
             "plugins/sorvSV.vdf;Video Sorvel (saturation/value) v1.0"
             "sorvel.exe;Video Sorvel command-line filter program")
  list(GET file 0 path)
  list(GET file 1 description)
  get_filename_component(name ${path} NAME)
  foreach(dist win32 win64)
    add_test(NAME version_info_${dist}_${name}
             COMMAND ${run_wine} ${versioninfo} ${SORVEL_DIST_DIR}/${dist}/${path} ${PROJECT_VERSION}
                     "FileDescription=${description}" "OriginalFilename=${name}"
                     "CompanyName=Vornak Software" "ProductName=Video Sorvel"
                     "FileVersion=${PROJECT_VERSION}" "ProductVersion=${PROJECT_VERSION}"
                     "LegalCopyright=Copyright (c) 2026 Vornak Software. MIT licence")
    set_tests_properties(version_info_${dist}_${name} PROPERTIES FIXTURES_REQUIRED wine LABELS wine)
  endforeach()
endforeach()
