# Row kernels: on x86, a filter's SSE2 and AVX2 kernels, chosen at run time
# by CPU detection (core/kernel.cpp). Only the AVX2 files are compiled for
# AVX2, so the libraries still run on a CPU with SSE2 alone.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64|i[3-6]86|x86)$")
  set(SORVEL_X86_KERNELS 1)
else()
  set(SORVEL_X86_KERNELS 0)
endif()

# sorvel_add_kernels(TARGET [SSE2 files...] [AVX2 files...]): on x86 adds the
# kernel files to TARGET, the AVX2 ones with their instruction set; on every
# processor defines SORVEL_X86_KERNELS (1 or 0) for TARGET's sources, which
# list or leave out the x86 kernels by it.
function(sorvel_add_kernels target)
  cmake_parse_arguments(arg "" "" "SSE2;AVX2" ${ARGN})
  target_compile_definitions(${target} PRIVATE SORVEL_X86_KERNELS=${SORVEL_X86_KERNELS})
  if(NOT SORVEL_X86_KERNELS)
    return()
  endif()
  target_sources(${target} PRIVATE ${arg_SSE2} ${arg_AVX2})
  set(avx2_options -mavx2)
  if(WIN32)
    # 64-bit Windows aligns the stack to 16 bytes only, and GCC may spill
    # 32-byte vectors there with aligned moves: have the assembler emit
    # every such move unaligned.
    list(APPEND avx2_options -Wa,-muse-unaligned-vector-move)
  endif()
  if(arg_AVX2)
    set_source_files_properties(${arg_AVX2} PROPERTIES COMPILE_OPTIONS "${avx2_options}")
  endif()
endfunction()
