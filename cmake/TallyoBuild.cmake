# Shared build settings: warnings, sanitizers, static Windows linking,
# GoogleTest, and the helpers every folder uses to declare its tests.

option(TALLYO_SANITIZE "Build native code with AddressSanitizer and UBSan" OFF)
option(TALLYO_BENCHMARKS "Build the benchmarks" OFF)

add_compile_options(-Wall -Wextra)

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Reproducible executables: the same sources give the same bytes. No link
  # time in the file header, and no build folder in what the compiler keeps
  # of file names.
  add_link_options(-Wl,--no-insert-timestamp)
  add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=)
elseif(TALLYO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(Threads REQUIRED)

# GoogleTest: the system's on Linux; built from Debian's source for mingw.
if(WIN32)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()

# TinyXML: Debian's library natively; for mingw, Debian's source package
# fetched by tools/setup.sh into the build root and compiled here.
if(WIN32)
  set(TINYXML_SOURCE_DIR "${CMAKE_SOURCE_DIR}/build/deps/tinyxml-src" CACHE PATH "TinyXML sources for the Windows build")
  add_library(tinyxml STATIC
    ${TINYXML_SOURCE_DIR}/tinyxml.cpp ${TINYXML_SOURCE_DIR}/tinyxmlparser.cpp
    ${TINYXML_SOURCE_DIR}/tinyxmlerror.cpp ${TINYXML_SOURCE_DIR}/tinystr.cpp)
  target_include_directories(tinyxml SYSTEM PUBLIC ${TINYXML_SOURCE_DIR})
  target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
  target_compile_options(tinyxml PRIVATE -w)
else()
  find_library(TINYXML_LIBRARY tinyxml REQUIRED)
  # Linked in where it can be (see tallyo-cli): one shared library less to load.
  if(NOT TALLYO_SANITIZE)
    find_library(TINYXML_STATIC_LIBRARY libtinyxml.a)
  endif()
  add_library(tinyxml INTERFACE)
  if(TINYXML_STATIC_LIBRARY)
    target_link_libraries(tinyxml INTERFACE ${TINYXML_STATIC_LIBRARY})
  else()
    target_link_libraries(tinyxml INTERFACE ${TINYXML_LIBRARY})
  endif()
  target_compile_definitions(tinyxml INTERFACE TIXML_USE_STL)
endif()

# libical, for repeat rules past the arithmetic of repeat/ (and calendar
# files): Debian's library natively.
if(NOT WIN32 AND NOT TARGET tallyo_libical)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LIBICAL REQUIRED IMPORTED_TARGET libical)
  add_library(tallyo_libical INTERFACE)
  target_link_libraries(tallyo_libical INTERFACE PkgConfig::LIBICAL)
endif()

# CLI11 is header-only; the cross compiler gets only its CLI/ folder.
add_library(cli11 INTERFACE)
if(WIN32)
  set(CLI11_INCLUDE_SHIM ${CMAKE_BINARY_DIR}/cli11-include)
  file(MAKE_DIRECTORY ${CLI11_INCLUDE_SHIM})
  file(CREATE_LINK /usr/include/CLI ${CLI11_INCLUDE_SHIM}/CLI SYMBOLIC)
  target_include_directories(cli11 SYSTEM INTERFACE ${CLI11_INCLUDE_SHIM})
endif()

# Our own code builds without warnings: from here on (after GoogleTest and
# TinyXML, which are not ours) every warning is an error.
add_compile_options(-Werror)

# tallyo_test(NAME SOURCES... LIBS ...): one GoogleTest executable, one ctest entry.
# Under the Windows build ctest runs it through Wine (CMAKE_CROSSCOMPILING_EMULATOR).
function(tallyo_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "TALLYO_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/testdata;TZ=Asia/Shanghai"
    TIMEOUT 300)
endfunction()

# tallyo_benchmark(NAME SOURCES... LIBS ...): a Google Benchmark executable (not a test).
function(tallyo_benchmark name)
  if(NOT TALLYO_BENCHMARKS)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()
