# CTrayIcon: the notification-area icon with its hidden window and flashing.
if(WIN32)
  add_library(tallyo_tray_icon STATIC ${CMAKE_CURRENT_LIST_DIR}/tray_icon.cpp)
  target_include_directories(tallyo_tray_icon PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(tallyo_tray_icon PUBLIC tallyo_framework)

  # In-process under Wine, with the shell call replaced by a recorder.
  tallyo_test(tray_icon_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tray_icon_test.cpp
    LIBS tallyo_tray_icon tallyo_framework_testing)
endif()
