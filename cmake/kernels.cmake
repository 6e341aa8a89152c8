# Row kernels of the core: the RGB curve tables everywhere and, on x86, the
# SSE2 and AVX2 kernels of the YIQ and HSV transforms and the AVX2 kernel of
# the RGB curves, chosen at run time by CPU detection. Only the AVX2 files
# are compiled for AVX2, so the libraries still run on a CPU with SSE2 alone.
target_sources(sorvel_core PRIVATE core/kernel.cpp rgb/rgb_tables.cpp)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64|i[3-6]86|x86)$")
  target_sources(sorvel_core PRIVATE yiq/yiq_sse2.cpp yiq/yiq_avx2.cpp hsv/hsv_sse2.cpp hsv/hsv_avx2.cpp rgb/rgb_avx2.cpp)
  target_compile_definitions(sorvel_core PRIVATE SORVEL_X86_KERNELS=1)
  set(avx2_options -mavx2)
  if(WIN32)
    # 64-bit Windows aligns the stack to 16 bytes only, and GCC may spill
    # 32-byte vectors there with aligned moves: have the assembler emit
    # every such move unaligned.
    list(APPEND avx2_options -Wa,-muse-unaligned-vector-move)
  endif()
  set_source_files_properties(yiq/yiq_avx2.cpp hsv/hsv_avx2.cpp rgb/rgb_avx2.cpp PROPERTIES COMPILE_OPTIONS "${avx2_options}")
else()
  target_compile_definitions(sorvel_core PRIVATE SORVEL_X86_KERNELS=0)
endif()
