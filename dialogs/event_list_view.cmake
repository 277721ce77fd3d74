# EventListView: the main window's grid of events.
if(WIN32)
  add_library(tallyo_event_list_view STATIC ${CMAKE_CURRENT_LIST_DIR}/event_list_view.cpp)
  target_include_directories(tallyo_event_list_view PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(tallyo_event_list_view PUBLIC tallyo_grid tallyo_events)
endif()
