# Static checks of the resources in the cross-built libraries, 32- and
# 64-bit: dialog template 101 control by control, and icon group 102 with
# its six images, which must be the committed icon file's.
add_executable(check_resources tools/check_resources.cpp)
target_include_directories(check_resources PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(check_resources PRIVATE sorvel_warnings)

foreach(plugin yiq:YIQ rgb:RGB hsv:SV)
  string(REPLACE ":" ";" pair ${plugin})
  list(GET pair 0 kind)
  list(GET pair 1 suffix)
  foreach(bits 32 64)
    add_test(NAME resources_win${bits}_${kind}
             COMMAND check_resources ${SORVEL_win${bits}_DIR}/${kind}/sorv${suffix}.vdf ${kind}
                     ${PROJECT_SOURCE_DIR}/icon/sorvel.ico)
  endforeach()
endforeach()
