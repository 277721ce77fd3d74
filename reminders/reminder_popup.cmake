# The reminder popup: the dialog in which the user answers a due reminder.
# Its tests run in event_dialogs_test (dialogs/event_dialogs.cmake), one Wine
# start for every dialog of the events.
if(NOT WIN32)
  return()
endif()

add_library(tallyo_reminder_popup STATIC ${CMAKE_CURRENT_LIST_DIR}/reminder_popup_dialog.cpp)
target_include_directories(tallyo_reminder_popup PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tallyo_reminder_popup PUBLIC
  tallyo_program_skin tallyo_skin tallyo_reminder_choice_controls tallyo_reminders_logic)
