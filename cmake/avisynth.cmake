# The vendored AviSynth+ source: the driver of the real-host test compiles
# against its C interface, and the native build cross-builds the host itself
# for each target whose programs run here.
set(SORVEL_AVISYNTH_TARBALL ${PROJECT_SOURCE_DIR}/third_party/avisynthplus/avisynthplus-3.7.5-1ffeb08c-src.tar.xz)

if(NOT CMAKE_CROSSCOMPILING)
  # The build is kept outside the build tree, under the source's hash, and
  # made again only when the source changes.
  if(DEFINED ENV{XDG_CACHE_HOME})
    set(cache_root $ENV{XDG_CACHE_HOME})
  else()
    set(cache_root $ENV{HOME}/.cache)
  endif()
  set(SORVEL_HOST_CACHE ${cache_root}/sorvel CACHE PATH "Where builds of the test hosts are kept")
  file(SHA256 ${SORVEL_AVISYNTH_TARBALL} avisynth_hash)
  string(SUBSTRING ${avisynth_hash} 0 12 avisynth_hash)
  set(previous "")
  foreach(target ${SORVEL_WINE_TARGETS})
    set(arch ${SORVEL_${target}_ARCH})
    set(SORVEL_AVISYNTH_${target}_DIR ${SORVEL_HOST_CACHE}/avisynth-${avisynth_hash}-${arch})
    add_custom_target(avisynth-${target} ALL
      COMMAND ${PROJECT_SOURCE_DIR}/scripts/build-avisynth ${SORVEL_AVISYNTH_TARBALL} ${arch}
              ${SORVEL_AVISYNTH_${target}_DIR}
      USES_TERMINAL)
    # One at a time: each build uses every core.
    if(previous)
      add_dependencies(avisynth-${target} ${previous})
    endif()
    set(previous avisynth-${target})
  endforeach()
endif()
