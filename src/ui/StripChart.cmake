# The strip chart: portable model and history, and the GDI control built on it.
add_library(chart_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/StripChartModel.cpp)
target_link_libraries(chart_core PUBLIC common)
tfm_publish(chart_core ui)

if(WIN32)
  add_library(chart_win32 STATIC
    ${CMAKE_CURRENT_LIST_DIR}/StripChartWin32.cpp)
  target_link_libraries(chart_win32 PUBLIC chart_core framework)
endif()
