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
