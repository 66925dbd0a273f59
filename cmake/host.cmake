# Native build: portable core with sanitizers, unit tests, fuzz targets, generators, benchmarks.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(halvorn_core PRIVATE ${SANITIZE})

# Generators run at build time by the Windows builds; built without sanitizers.
file(GLOB TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
foreach(src ${TOOL_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE ${WARNINGS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endforeach()
set(PROBLEMS_TOOL make_problems)
include(cmake/problem_texts.cmake)

if(HALVORN_TESTS)
  enable_testing()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  file(GLOB UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
  add_executable(unit_tests ${UNIT_SOURCES} ${CMAKE_SOURCE_DIR}/companion/resource_levels.cpp)
  target_compile_options(unit_tests PRIVATE ${WARNINGS} ${SANITIZE})
  target_link_options(unit_tests PRIVATE ${SANITIZE})
  target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/companion)
  # Tests that read text sources (help texts) find them here.
  target_compile_definitions(unit_tests PRIVATE HALVORN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  # Generators the tests run on sources of their own.
  target_compile_definitions(unit_tests PRIVATE HALVORN_MAKE_TIPS="$<TARGET_FILE:make_tips>")
  add_dependencies(unit_tests make_tips)
  target_link_libraries(unit_tests PRIVATE halvorn_core GTest::gtest_main)
  target_link_options(halvorn_core INTERFACE ${SANITIZE})
  include(GoogleTest)
  gtest_discover_tests(unit_tests PROPERTIES LABELS unit DISCOVERY_TIMEOUT 60)

  # The folder rules of src/include_rules.txt hold for every source file; the checker itself
  # is tested on a small tree of its own.
  add_test(NAME include_rules COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check_includes.sh ${CMAKE_SOURCE_DIR}/src)
  add_test(NAME include_rules_checker COMMAND bash ${CMAKE_SOURCE_DIR}/tests/include_rules_test.sh)
  set_tests_properties(include_rules include_rules_checker PROPERTIES LABELS unit)

  # Fuzz targets: each tests/fuzz/*.cpp is one libFuzzer program, run briefly by make test.
  file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
  foreach(src ${FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    # The core is compiled into each target so the fuzzer sees its coverage.
    add_executable(${name} ${src} ${CORE_SOURCES} ${PROBLEM_GEN_DIR}/problem_texts.cpp)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${PROBLEM_GEN_DIR})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    add_test(NAME ${name} COMMAND ${name} -max_total_time=5 -rss_limit_mb=2048)
    set_tests_properties(${name} PROPERTIES LABELS "unit;fuzz")
  endforeach()
endif()
