# The reminder check, the answer to an alert and the tray tip naming the next
# reminder: no window, tested natively.
add_library(tallyo_reminders_logic STATIC
  ${CMAKE_CURRENT_LIST_DIR}/reminder_answer.cpp ${CMAKE_CURRENT_LIST_DIR}/reminder_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/next_reminder_tip.cpp)
target_include_directories(tallyo_reminders_logic PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tallyo_reminders_logic PUBLIC tallyo_events tallyo_settings tallyo_base)

if(NOT WIN32)
  tallyo_test(reminders_logic_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/reminder_answer_test.cpp ${CMAKE_CURRENT_LIST_DIR}/reminder_check_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/next_reminder_tip_test.cpp
    LIBS tallyo_reminders_logic)
endif()

tallyo_benchmark(reminder_check_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench/reminder_check_bench.cpp LIBS tallyo_reminders_logic)
