# The strip chart: portable model and history, and the GDI control built on it; how often the chart's
# value is told to a screen reader.
add_library(chart_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/StripChartModel.cpp ${CMAKE_CURRENT_LIST_DIR}/AnnouncementLimit.cpp)
target_link_libraries(chart_core PUBLIC common)
tfm_publish(chart_core ui)

if(WIN32)
  add_library(chart_win32 STATIC
    ${CMAKE_CURRENT_LIST_DIR}/StripChartWin32.cpp)
  target_link_libraries(chart_win32 PUBLIC chart_core framework)
endif()
