# Floating point is evaluated exactly as written: no contraction into fused
# multiply-adds, no fast-math, and SSE2 rather than x87 on 32-bit x86. These
# reach every object of the build, third-party code included.
add_compile_options(-ffp-contract=off -fno-fast-math)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "i[3-6]86")
  add_compile_options(-msse2 -mfpmath=sse)
endif()

# The project's own warnings, for its own targets only: each links
# sorvel_warnings PRIVATE; third-party code (stb's bodies, the AviSynth+
# build) is compiled without them. sorvel_check_warnings at the end of the
# top-level CMakeLists.txt sees that no target of the project is left out.
option(SORVEL_WERROR "Treat compiler warnings as errors" OFF)
add_library(sorvel_warnings INTERFACE)
target_compile_options(sorvel_warnings INTERFACE -Wall -Wextra -Wshadow -Wconversion -Wno-sign-conversion
                                                 $<$<BOOL:${SORVEL_WERROR}>:-Werror>)

# Every compiled target under DIR (default: the whole project) links
# sorvel_warnings, except the ones named in EXCEPT (third-party code).
function(sorvel_check_warnings)
  cmake_parse_arguments(arg "" "DIR" "EXCEPT" ${ARGN})
  if(NOT arg_DIR)
    set(arg_DIR ${PROJECT_SOURCE_DIR})
  endif()
  get_property(targets DIRECTORY ${arg_DIR} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$"
       AND NOT target IN_LIST arg_EXCEPT)
      get_target_property(libraries ${target} LINK_LIBRARIES)
      if(NOT "sorvel_warnings" IN_LIST libraries)
        message(FATAL_ERROR "${target} (${arg_DIR}) does not link sorvel_warnings: add it PRIVATE")
      endif()
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${arg_DIR} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory ${subdirectories})
    sorvel_check_warnings(DIR ${subdirectory} EXCEPT ${arg_EXCEPT})
  endforeach()
endfunction()

# Sanitizer build of the native code and tests: any report is a failure.
option(SORVEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(SORVEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# libFuzzer targets (clang only), built with the same sanitizers.
option(SORVEL_FUZZ "Build the libFuzzer targets" OFF)
if(SORVEL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -g)
  add_link_options(-fsanitize=address,undefined)
endif()

# The Windows libraries carry only what they call: no exception or RTTI
# support (nothing in them throws; the host boundary is C), every function
# and datum in its own section so that the linker drops the unused ones, and
# no link time stamp, so that two builds of one commit are byte-identical.
if(WIN32)
  set(SORVEL_LEAN_OPTIONS -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
                          -ffunction-sections -fdata-sections)
  set(SORVEL_LEAN_LINK_OPTIONS -Wl,--gc-sections -nostartfiles)
  add_link_options(-Wl,--no-insert-timestamp)
endif()

# One of the project's host-free libraries, linked into the Windows plug-ins,
# the programs and the frei0r plug-ins: position-independent for the latter,
# lean in the Windows builds, with the project's warnings.
function(sorvel_add_library name)
  add_library(${name} STATIC ${ARGN})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_compile_options(${name} PRIVATE ${SORVEL_LEAN_OPTIONS})
  target_link_libraries(${name} PRIVATE sorvel_warnings)
endfunction()
