# The add, modify and find dialogs of the main window. Their rules for the
# reminder choice are portable (events/reminder_choice.h) and tested natively;
# the dialogs themselves are tested in-process under Wine, together with the
# reminder popup, which shares their controls and reactions.
if(NOT WIN32)
  return()
endif()

add_library(tallyo_event_dialogs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/event_editor_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/find_event_dialog.cpp)
target_include_directories(tallyo_event_dialogs PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tallyo_event_dialogs PUBLIC
  tallyo_program_skin tallyo_skin tallyo_reminder_choice_controls tallyo_events)

# One Wine start for the editors, the find dialog and the reminder popup (the
# popup's library is defined in reminders/, configured after this folder).
# Screenshots go to screenshots/ in the build folder, turned into PNG files.
set(TALLYO_SCREENSHOT_DIR ${CMAKE_BINARY_DIR}/screenshots)
file(MAKE_DIRECTORY ${TALLYO_SCREENSHOT_DIR})
tallyo_test(event_dialogs_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/event_editor_dialog_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/find_event_dialog_test.cpp
    ${PROJECT_SOURCE_DIR}/skin/testing/dialog_test_support.cpp
    ${PROJECT_SOURCE_DIR}/reminders/reminder_popup_dialog_test.cpp
  LIBS tallyo_event_dialogs tallyo_reminder_popup tallyo_framework_testing tallyo_resources)
set_property(TEST event_dialogs_test APPEND PROPERTY ENVIRONMENT "TALLYO_SCREENSHOT_DIR=${TALLYO_SCREENSHOT_DIR}")
set_property(TEST event_dialogs_test PROPERTY FIXTURES_SETUP event_dialogs_shots)
add_test(NAME event_dialogs_png
  COMMAND sh -c "for f in *.bmp; do convert \"$f\" \"\${f%.bmp}.png\" || exit 1; done"
  WORKING_DIRECTORY ${TALLYO_SCREENSHOT_DIR})
set_tests_properties(event_dialogs_png PROPERTIES FIXTURES_REQUIRED event_dialogs_shots)
