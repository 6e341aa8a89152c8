# Floating point is evaluated exactly as written: no contraction into fused
# multiply-adds, no fast-math, and SSE2 rather than x87 on 32-bit x86.
add_compile_options(-ffp-contract=off -fno-fast-math -Wall -Wextra -Wshadow -Wconversion
                    -Wno-sign-conversion)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "i[3-6]86")
  add_compile_options(-msse2 -mfpmath=sse)
endif()
option(SORVEL_WERROR "Treat compiler warnings as errors" OFF)
if(SORVEL_WERROR)
  add_compile_options(-Werror)
endif()

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
