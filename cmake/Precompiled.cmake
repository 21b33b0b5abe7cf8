# Most Windows translation units spend longer parsing <windows.h> than compiling their own code. In a
# Windows build it is precompiled once and every C++ target of the project reuses it (a target whose
# flags differ falls back to parsing the header itself). The standard library stays out: with it, GCC
# 12 reports its known false array bounds in std::string's inlined copies.
#
#   tfm_share_win32_pch()   called last, in the top directory

function(tfm_collect_targets directory out)
  get_property(targets DIRECTORY "${directory}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY "${directory}" PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    tfm_collect_targets("${subdirectory}" more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

option(TFM_WIN32_PCH "Windows builds: precompile <windows.h> once" ON)

function(tfm_share_win32_pch)
  if(NOT (WIN32 AND TFM_WIN32_PCH))
    return()
  endif()
  add_library(win32_pch STATIC "${PROJECT_SOURCE_DIR}/cmake/Win32Pch.cpp")
  target_precompile_headers(win32_pch PRIVATE <windows.h>)
  tfm_collect_targets("${PROJECT_SOURCE_DIR}" targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(sources ${target} SOURCES)
    get_target_property(directory ${target} SOURCE_DIR)
    # Only our own C++ targets: GoogleTest's sources live outside the project.
    if(target STREQUAL "win32_pch" OR NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|EXECUTABLE)$"
       OR NOT sources MATCHES "\\.cpp" OR NOT directory MATCHES "^${PROJECT_SOURCE_DIR}/")
      continue()
    endif()
    target_precompile_headers(${target} REUSE_FROM win32_pch)
  endforeach()
endfunction()
