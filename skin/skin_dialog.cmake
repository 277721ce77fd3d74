# CSkinDialog, the skinned dialog frame. Its window-free rules (the shape
# from the background's pixels, caption buttons, drag arming, the system
# menu by position) are in tallyo_skin_dialog_logic and tested natively.

add_library(tallyo_skin_dialog_logic STATIC ${CMAKE_CURRENT_LIST_DIR}/skin_dialog_logic.cpp)
target_include_directories(tallyo_skin_dialog_logic PUBLIC ${PROJECT_SOURCE_DIR})

if(NOT WIN32)
  tallyo_test(skin_dialog_logic_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/skin_dialog_logic_test.cpp
    LIBS tallyo_skin_dialog_logic)
endif()

if(WIN32)
  add_library(tallyo_skin_dialog STATIC ${CMAKE_CURRENT_LIST_DIR}/skin_dialog.cpp)
  target_link_libraries(tallyo_skin_dialog PUBLIC tallyo_skin_dialog_logic tallyo_framework)

  # In-process under Wine: skinned dialogs from in-memory templates and bitmaps.
  tallyo_test(skin_dialog_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/skin_dialog_test.cpp
    LIBS tallyo_skin_dialog tallyo_framework_testing)
endif()
