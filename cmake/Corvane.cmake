# Shared helpers for the Corvane build: dependencies, library, test, benchmark
# and fuzzer targets.

macro(corvane_find_dependencies)
  find_package(Qt6 REQUIRED COMPONENTS Core Widgets Network DBus)
  find_package(PkgConfig REQUIRED)
  find_package(SQLite3 REQUIRED)
  find_package(ZLIB REQUIRED)
  find_package(CURL REQUIRED)
  pkg_check_modules(HIDAPI REQUIRED IMPORTED_TARGET hidapi-hidraw)
  pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
  pkg_check_modules(LIBUDEV REQUIRED IMPORTED_TARGET libudev)
  pkg_check_modules(SODIUM REQUIRED IMPORTED_TARGET libsodium)
  pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
  if(CORVANE_TESTS AND NOT CORVANE_FUZZ)
    find_package(GTest REQUIRED)
    include(GoogleTest)
  endif()
  if(CORVANE_BENCH AND NOT CORVANE_FUZZ)
    find_package(benchmark REQUIRED)
  endif()
endmacro()

# corvane_add_library(<folder> SOURCES ... [DEPS ...])
# Creates corvane_<folder> from src/<folder>; includes are rooted at src/, so
# code writes #include "xml/MarkupDocument.h".
function(corvane_add_library folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(corvane_${folder} STATIC ${ARG_SOURCES})
  target_include_directories(corvane_${folder} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(corvane_${folder} PUBLIC ${ARG_DEPS})
endfunction()

# corvane_add_test(<name> SOURCES ... [DEPS ...])
# One GoogleTest program; its cases are registered with CTest one by one.
# Widget tests run on Qt's offscreen platform.
function(corvane_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    CORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    CORVANE_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# corvane_add_benchmark(<name> SOURCES ... [DEPS ...])
function(corvane_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# corvane_add_fuzzer(<name> SOURCES ... [DEPS ...])
# A libFuzzer target; scripts/test runs each one for a few seconds.
function(corvane_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzzers)
  add_dependencies(corvane_fuzzers ${name})
endfunction()

# corvane_add_subfolders(<list of folder names>): add_subdirectory for each
# folder below the current one that has a CMakeLists.txt.
function(corvane_add_subfolders)
  foreach(folder IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/CMakeLists.txt)
      add_subdirectory(${folder})
    endif()
  endforeach()
endfunction()
