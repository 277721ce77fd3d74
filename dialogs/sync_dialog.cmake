# The calendar sync dialog: skinned, with "检测" on a worker thread. Tested
# in-process under Wine against the radicale that caldav/ starts, with
# screenshots turned into PNG files in the build folder's screenshots/.
if(WIN32)
  add_library(tallyo_sync_dialog STATIC ${CMAKE_CURRENT_LIST_DIR}/sync_dialog.cpp)
  target_link_libraries(tallyo_sync_dialog PUBLIC
    tallyo_calendar_discovery tallyo_sync tallyo_program_skin tallyo_skin tallyo_framework)

  set(TALLYO_SCREENSHOT_DIR ${CMAKE_BINARY_DIR}/screenshots)
  file(MAKE_DIRECTORY ${TALLYO_SCREENSHOT_DIR})
  tallyo_test(sync_dialog_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/sync_dialog_test.cpp
    LIBS tallyo_sync_dialog tallyo_resources tallyo_framework_testing tallyo_caldav_testing)
  set_tests_properties(sync_dialog_test PROPERTIES FIXTURES_REQUIRED radicale FIXTURES_SETUP sync_dialog_shots)
  set_property(TEST sync_dialog_test APPEND PROPERTY ENVIRONMENT
    "TALLYO_SCREENSHOT_DIR=${TALLYO_SCREENSHOT_DIR}"
    "TALLYO_RADICALE_DIR=Z:${PROJECT_BINARY_DIR}/caldav/radicale")
  add_test(NAME sync_dialog_png
    COMMAND sh -c "for f in sync-empty sync-discovered sync-synced; do convert $f.bmp $f.png || exit 1; done"
    WORKING_DIRECTORY ${TALLYO_SCREENSHOT_DIR})
  set_tests_properties(sync_dialog_png PROPERTIES FIXTURES_REQUIRED sync_dialog_shots)
endif()
