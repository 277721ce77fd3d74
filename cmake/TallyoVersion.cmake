# The program's version is the one of project() in the top-level
# CMakeLists.txt. From it come a header for the code and the tests, the
# version resources of both executables, their manifests and the release's
# names; nothing else spells it out.

# The program shows its version with two decimals and compares announced
# versions as the version times 100, so the minor part has two digits.
if(NOT PROJECT_VERSION MATCHES "^[0-9]+\\.[0-9][0-9]$")
  message(FATAL_ERROR "The version is MAJOR.MM (two digits after the point), not ${PROJECT_VERSION}")
endif()
math(EXPR TALLYO_VERSION_MAJOR "${PROJECT_VERSION_MAJOR}")
math(EXPR TALLYO_VERSION_MINOR "${PROJECT_VERSION_MINOR}")
set(TALLYO_VERSION_TEXT "${PROJECT_VERSION}")

set(TALLYO_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/tallyo_version.h.in ${TALLYO_GENERATED_DIR}/tallyo_version.h @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/tallyo_version_info.rc2.in ${TALLYO_GENERATED_DIR}/tallyo_version_info.rc2
               @ONLY)

# Link this to include "tallyo_version.h".
add_library(tallyo_version INTERFACE)
target_include_directories(tallyo_version INTERFACE ${TALLYO_GENERATED_DIR})

# tallyo_windows_resources(TARGET RC_FILE MANIFEST_TEMPLATE): compiles a
# resource script into TARGET. The manifest is made from its template with the
# version filled in, and is found by the name without ".in"; the script finds
# the version resource as "tallyo_version_info.rc2".
function(tallyo_windows_resources target rc_file manifest_template)
  get_filename_component(manifest_name ${manifest_template} NAME_WLE)
  set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${manifest_name})
  configure_file(${manifest_template} ${manifest} @ONLY)
  target_sources(${target} PRIVATE ${rc_file})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR} ${TALLYO_GENERATED_DIR})
  set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS
               ${manifest} ${TALLYO_GENERATED_DIR}/tallyo_version_info.rc2)
endfunction()
