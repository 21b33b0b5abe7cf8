# Test registration helpers shared by every subsystem.
#
#   tfm_unit_test(name SOURCES ... [LIBS ...])   native GoogleTest exe, label "unit"
#   tfm_win_test(name SOURCES ... [LIBS ...] [ENVIRONMENT VAR=value ...])
#                                                cross-built GoogleTest exe run under Wine, label "win"
#   tfm_e2e_test(name SCRIPT file [TIMEOUT s] [ENV var=value...] [OWN_PREFIX])
#                                                Python scenario against this build's exe, label "e2e"
#
# Every Wine test holds the resource lock "wineprefix": the tests share one prefix and the monitor's
# single-instance guard would make a second copy exit silently, so they run strictly one at a time. A
# scenario with OWN_PREFIX (its ENV names a prefix of its own, as TFM_DPI does) runs on a virtual display
# of its own instead, beside the others: no window of another test covers its screenshots.
include(GoogleTest)

# Unit tests run natively on Linux; a Windows build (cross or native) has no unit-test stage.
set(TFM_UNIT_TESTS OFF)
if(NOT WIN32)
  set(TFM_UNIT_TESTS ON)
endif()

set(TFM_WINE_RUN "${PROJECT_SOURCE_DIR}/scripts/wine-run")

if(WIN32 AND TFM_WINE_TESTS)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${TFM_WINE_RUN}")
endif()

# Test code is compiled without optimisation: it runs once per test run, and at -O2 its GoogleTest macros
# take three times as long to compile as at -O0. The code under test keeps its build type's flags.
function(tfm_compile_as_test_code target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -O0)
  endif()
  tfm_mark_test_code(${target})
endfunction()

# GoogleTest comes from its sources where the distribution's libraries do not fit the target: the
# Windows tests and the i386 unit tests. Elsewhere the installed package is used.
if((WIN32 AND TFM_WINE_TESTS) OR (TFM_UNIT_TESTS AND TFM_GTEST_FROM_SOURCE))
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  foreach(library gtest gmock gtest_main)
    tfm_compile_as_test_code(${library})
  endforeach()
elseif(TFM_UNIT_TESTS)
  find_package(GTest REQUIRED)
endif()

function(tfm_unit_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT TFM_UNIT_TESTS)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  tfm_compile_as_test_code(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS unit TIMEOUT 60)
endfunction()

function(tfm_win_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  if(NOT (WIN32 AND TFM_WINE_TESTS))
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gmock gtest_main)
  tfm_compile_as_test_code(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS win TIMEOUT ${T_TIMEOUT} RESOURCE_LOCK wineprefix ENVIRONMENT "${T_ENVIRONMENT}")
endfunction()

function(tfm_e2e_test name)
  cmake_parse_arguments(T "OWN_PREFIX" "SCRIPT;TIMEOUT" "ENV" ${ARGN})
  if(NOT (WIN32 AND TFM_E2E_TESTS))
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 240)
  endif()
  # A 32-bit build runs in a 32-bit prefix (the i386 root's Wine has no other).
  set(wine_arch win64)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(wine_arch win32)
  endif()
  set(command python3 "${CMAKE_CURRENT_SOURCE_DIR}/${T_SCRIPT}")
  set(lock wineprefix)
  if(T_OWN_PREFIX)
    set(command xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" ${command})
    set(lock e2e.${name})
  endif()
  add_test(NAME e2e.${name} COMMAND ${command})
  set_tests_properties(e2e.${name} PROPERTIES LABELS e2e TIMEOUT ${T_TIMEOUT} RESOURCE_LOCK ${lock}
    ENVIRONMENT "TFM_BUILD_DIR=${CMAKE_BINARY_DIR};TFM_SOURCE_DIR=${PROJECT_SOURCE_DIR};TFM_WINEARCH=${wine_arch};PYTHONPATH=${PROJECT_SOURCE_DIR}/tests/e2e;PYTHONDONTWRITEBYTECODE=1;${T_ENV}")
endfunction()
