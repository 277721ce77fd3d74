# The settings dialog and the start-with-Windows entry. The entry's command
# text is a window-free rule in tallyo_autorun_entry, tested natively; the
# registry access and the dialog are Win32 and tested in-process under Wine.

add_library(tallyo_autorun_entry STATIC ${CMAKE_CURRENT_LIST_DIR}/autorun_entry.cpp)
target_include_directories(tallyo_autorun_entry PUBLIC ${PROJECT_SOURCE_DIR})

if(NOT WIN32)
  tallyo_test(autorun_entry_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/autorun_entry_test.cpp
    LIBS tallyo_autorun_entry tallyo_framework_logic)
endif()

if(WIN32)
  add_library(tallyo_settings_dialog STATIC
    ${CMAKE_CURRENT_LIST_DIR}/settings_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/autorun_registry_win.cpp)
  target_link_libraries(tallyo_settings_dialog PUBLIC
    tallyo_autorun_entry tallyo_program_skin tallyo_skin tallyo_settings tallyo_framework advapi32)

  # One Wine start for everything: the boxes, OK and Cancel, browse, the
  # registry entry, and a screenshot for people to look at, turned into
  # screenshots/settings.png in the build folder.
  set(TALLYO_SCREENSHOT_DIR ${CMAKE_BINARY_DIR}/screenshots)
  file(MAKE_DIRECTORY ${TALLYO_SCREENSHOT_DIR})
  tallyo_test(settings_dialog_test
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/settings_dialog_test.cpp
      LIBS tallyo_settings_dialog tallyo_resources tallyo_framework_testing)
  set_property(TEST settings_dialog_test APPEND PROPERTY ENVIRONMENT
    "TALLYO_SCREENSHOT_DIR=${TALLYO_SCREENSHOT_DIR}")
  set_property(TEST settings_dialog_test PROPERTY FIXTURES_SETUP settings_dialog_shot)
  add_test(NAME settings_dialog_png
    COMMAND convert settings.bmp settings.png
    WORKING_DIRECTORY ${TALLYO_SCREENSHOT_DIR})
  set_tests_properties(settings_dialog_png PROPERTIES FIXTURES_REQUIRED settings_dialog_shot)
endif()
