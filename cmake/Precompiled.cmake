# Most translation units spend longer parsing headers they share than compiling their own code, so those
# headers are precompiled once per build and every target of a kind reuses them (a target whose flags
# differ falls back to parsing the headers itself):
#   - the product's Windows code: <windows.h>;
#   - the test code: GoogleTest and GoogleMock, with <windows.h> in a Windows build.
# The standard library stays out of the product's header: with it, GCC 12 reports its known false array
# bounds in std::string's inlined copies (test code, compiled without optimisation, is not affected).
#
#   tfm_mark_test_code(target)   the target is test code (set by the test registration helpers)
#   tfm_share_pch()              called last, in the top directory

option(TFM_PCH "Precompile the headers that most translation units share" ON)

function(tfm_mark_test_code target)
  set_target_properties(${target} PROPERTIES TFM_TEST_CODE ON)
endfunction()

function(tfm_collect_targets directory out)
  get_property(targets DIRECTORY "${directory}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY "${directory}" PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    tfm_collect_targets("${subdirectory}" more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# tfm_pch_library(NAME HEADERS...): the library that a shared precompiled header is made in.
function(tfm_pch_library name)
  add_library(${name} STATIC "${PROJECT_SOURCE_DIR}/cmake/PchAnchor.cpp")
  target_precompile_headers(${name} PRIVATE ${ARGN})
endfunction()

function(tfm_share_pch)
  if(NOT TFM_PCH)
    return()
  endif()
  set(product_pch "")
  set(test_headers <gtest/gtest.h> <gmock/gmock.h>)
  if(WIN32)
    set(product_pch win32_pch)
    tfm_pch_library(win32_pch <windows.h>)
    list(PREPEND test_headers <windows.h>)
  endif()
  set(test_pch "")
  if(TARGET gmock OR TARGET GTest::gmock)
    set(test_pch test_pch)
    tfm_pch_library(test_pch ${test_headers})
    target_link_libraries(test_pch PRIVATE $<IF:$<TARGET_EXISTS:gmock>,gmock,GTest::gmock>)
    tfm_compile_as_test_code(test_pch)
  endif()

  tfm_collect_targets("${PROJECT_SOURCE_DIR}" targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(sources ${target} SOURCES)
    get_target_property(directory ${target} SOURCE_DIR)
    get_target_property(test_code ${target} TFM_TEST_CODE)
    # Only our own C++ targets: GoogleTest's sources live outside the project.
    if(target MATCHES "^(win32_pch|test_pch)$" OR NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|EXECUTABLE)$"
       OR NOT sources MATCHES "\\.cpp" OR NOT directory MATCHES "^${PROJECT_SOURCE_DIR}/")
      continue()
    endif()
    if(test_code AND test_pch)
      target_precompile_headers(${target} REUSE_FROM ${test_pch})
    elseif(NOT test_code AND product_pch)
      target_precompile_headers(${target} REUSE_FROM ${product_pch})
    endif()
  endforeach()
endfunction()
