# Skinned buttons, check boxes, option buttons, the painter, link labels, the
# ticker and colour labels. Their window-free rules live in
# tallyo_skin_controls_logic, which builds and is tested natively too.

add_library(tallyo_skin_controls_logic STATIC
  ${CMAKE_CURRENT_LIST_DIR}/button_logic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/painter_logic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scroll_text_logic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_opener.cpp)
target_link_libraries(tallyo_skin_controls_logic PUBLIC tallyo_base)

# Natively only: under Wine each test executable costs a start of its own.
if(NOT WIN32)
  tallyo_test(skin_controls_logic_test
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/button_logic_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/painter_logic_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/scroll_text_logic_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/link_opener_test.cpp
    LIBS tallyo_skin_controls_logic)
endif()

if(WIN32)
  add_library(tallyo_skin_controls STATIC
    ${CMAKE_CURRENT_LIST_DIR}/skin_painter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/owner_draw_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin_check_box.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin_control_class.cpp
    ${CMAKE_CURRENT_LIST_DIR}/link_label.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scroll_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/color_label.cpp
    ${CMAKE_CURRENT_LIST_DIR}/link_opener_shell_win.cpp)
  target_link_libraries(tallyo_skin_controls PUBLIC tallyo_skin_controls_logic tallyo_framework)

  # In-process under Wine: controls in a test window, driven by messages.
  tallyo_test(skin_controls_test
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/testing/skin_test_host.cpp
      ${CMAKE_CURRENT_LIST_DIR}/skin_painter_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/skin_button_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/skin_check_box_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/link_label_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/scroll_text_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/color_label_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/skin_resources_test.cpp
    LIBS tallyo_skin_controls)
  # The program's skin bitmaps, when res/ defines them (it is configured
  # after this folder, hence the generator expressions).
  target_link_libraries(skin_controls_test PRIVATE $<TARGET_NAME_IF_EXISTS:tallyo_resources>)
  target_compile_definitions(skin_controls_test PRIVATE
    $<$<TARGET_EXISTS:tallyo_resources>:TALLYO_HAVE_RESOURCES>)
endif()
