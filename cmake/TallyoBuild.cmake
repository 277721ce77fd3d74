# Shared build settings: warnings, sanitizers, static Windows linking,
# GoogleTest, and the helpers every folder uses to declare its tests.

option(TALLYO_SANITIZE "Build native code with AddressSanitizer and UBSan" OFF)
option(TALLYO_BENCHMARKS "Build the benchmarks" OFF)
# Where we build (tools/test.sh, CI) warnings are errors; a user's build with
# another compiler version, whose new warnings we have not seen, still builds.
option(TALLYO_WERROR "Treat warnings in our own code as errors" OFF)

add_compile_options(-Wall -Wextra)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # Debian 12's GCC 12 (native and mingw-w64) warns falsely about
  # `"text" + std::string` when optimising (GCC bug 105329): every folder
  # builds messages that way.
  add_compile_options(-Wno-restrict)
endif()

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

# libical (the ical library alone): Debian's natively; for mingw, Debian's
# source package fetched by tools/setup.sh and built here by its own CMake,
# static, without ICU, glib, Berkeley DB, bindings, docs or tests. Its time
# zones are its built-in ones, and they travel inside the executables (see
# ical/). Link `tallyo_libical` and call InitCalendarZones() (ical/) first.
set(LIBICAL_SOURCE_DIR "${CMAKE_SOURCE_DIR}/build/deps/libical-src" CACHE PATH "libical sources for the Windows build")
if(WIN32)
  include(ExternalProject)
  set(libical_build ${CMAKE_BINARY_DIR}/libical/build)
  set(libical_out ${CMAKE_BINARY_DIR}/libical/out)
  set(libical_archive ${libical_out}/lib/libical.a)
  # Under make the build of libical shares make's jobs.
  if(CMAKE_GENERATOR MATCHES "Make")
    set(libical_build_command $(MAKE) ical)
  else()
    set(libical_build_command ${CMAKE_COMMAND} --build ${libical_build} --target ical)
  endif()
  # -include: libical's file calls reach its built-in zones inside the
  # program (ical/libical_file_hooks.h). -ffile-prefix-map: no build folder
  # in what the executables keep of libical's file names (the same commit
  # gives the same bytes).
  set(libical_c_flags "-include ${CMAKE_SOURCE_DIR}/ical/libical_file_hooks.h")
  string(APPEND libical_c_flags " -ffile-prefix-map=${LIBICAL_SOURCE_DIR}/=libical/ -ffile-prefix-map=${libical_build}/=libical/")
  ExternalProject_Add(libical_external
    SOURCE_DIR ${LIBICAL_SOURCE_DIR}
    BINARY_DIR ${libical_build}
    PREFIX ${CMAKE_BINARY_DIR}/libical
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
      -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_C_FLAGS=${libical_c_flags}
      # Kept in the library as where its zones would lie: no build folder.
      -DCMAKE_INSTALL_PREFIX=/libical
      -DSTATIC_ONLY=ON -DUSE_BUILTIN_TZDATA=ON
      -DWITH_CXX_BINDINGS=OFF -DICAL_GLIB=OFF -DICAL_GLIB_VAPI=OFF -DGOBJECT_INTROSPECTION=OFF
      -DICAL_BUILD_DOCS=OFF -DLIBICAL_BUILD_TESTING=OFF
      -DCMAKE_DISABLE_FIND_PACKAGE_ICU=ON -DCMAKE_DISABLE_FIND_PACKAGE_BerkeleyDB=ON
    BUILD_COMMAND ${libical_build_command}
    # The archive and the two headers a user includes, where the target
    # below finds them.
    INSTALL_COMMAND ${CMAKE_COMMAND} -E copy_if_different ${libical_build}/bin/libical.a ${libical_archive}
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${libical_build}/src/libical/ical.h
                    ${LIBICAL_SOURCE_DIR}/src/libical/libical_ical_export.h ${libical_out}/include/libical/
    BUILD_BYPRODUCTS ${libical_archive}
    # make looks at libical's sources and the file-hooks header on each
    # build (a second); what did not change is neither built nor copied.
    BUILD_ALWAYS ON
    EXCLUDE_FROM_ALL ON
    LOG_CONFIGURE ON LOG_BUILD ON LOG_OUTPUT_ON_FAILURE ON)
  file(MAKE_DIRECTORY ${libical_out}/include/libical)
  add_library(libical_static STATIC IMPORTED)
  set_target_properties(libical_static PROPERTIES IMPORTED_LOCATION ${libical_archive})
  add_dependencies(libical_static libical_external)
  # The zone files it reads, linked after it (ical/).
  set_target_properties(libical_static PROPERTIES INTERFACE_LINK_LIBRARIES tallyo_libical_zone_files)
  add_library(tallyo_libical INTERFACE)
  target_link_libraries(tallyo_libical INTERFACE libical_static Threads::Threads)
  target_include_directories(tallyo_libical SYSTEM INTERFACE ${libical_out}/include)
  target_compile_definitions(tallyo_libical INTERFACE LIBICAL_ICAL_STATIC_DEFINE)
else()
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
# TinyXML, which are not ours) every warning is an error where we build.
if(TALLYO_WERROR)
  add_compile_options(-Werror)
endif()

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
