# Win32 tests and end-to-end tests, built with MinGW and run under Wine by the harness in
# tests/harness. One Wine prefix, one Xvfb and one wineserver serve a whole ctest run: the
# fixture test wine_session_start makes them, wine_session_stop ends them.
enable_testing()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB HARNESS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/harness/*.cpp)
add_library(wine_harness STATIC ${HARNESS_SOURCES})
target_include_directories(wine_harness PUBLIC ${CMAKE_SOURCE_DIR}/tests/harness)
target_link_libraries(wine_harness PUBLIC GTest::gtest halvorn_win)

file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(win_tests ${WIN_TEST_SOURCES} ${RC_MAIN})
add_dependencies(win_tests halvorn_resources)
target_link_libraries(win_tests PRIVATE wine_harness)
target_link_options(win_tests PRIVATE ${WIN_LINK})

file(GLOB E2E_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(e2e_tests ${E2E_TEST_SOURCES})
target_link_libraries(e2e_tests PRIVATE wine_harness)
target_link_options(e2e_tests PRIVATE ${WIN_LINK})
add_dependencies(e2e_tests halvorn)

set(RUN_DIR ${CMAKE_BINARY_DIR}/wine-run)
set(SESSION ${CMAKE_SOURCE_DIR}/tests/harness/wine-session.sh)
add_test(NAME wine_session_start COMMAND bash ${SESSION} start ${RUN_DIR})
add_test(NAME wine_session_stop COMMAND bash ${SESSION} stop ${RUN_DIR})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)

add_test(NAME wine_tests COMMAND bash ${SESSION} exec ${RUN_DIR} $<TARGET_FILE:win_tests>)
set_tests_properties(wine_tests PROPERTIES LABELS wine FIXTURES_REQUIRED wine RESOURCE_LOCK wineserver)
# One ctest entry per end-to-end source file, running that file's test suites, so a hang or a
# crash in one loses only its own results. Suites are read from the sources at configure
# time; editing an e2e source reconfigures, so a new suite is never left out.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${E2E_TEST_SOURCES})
foreach(source ${E2E_TEST_SOURCES})
  if(source MATCHES "reboot_e2e_test.cpp$")
    continue()  # a session of its own, below
  endif()
  file(STRINGS ${source} suite_lines REGEX "^TEST(_F)?\\(")
  set(filter "")
  foreach(line ${suite_lines})
    string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+),.*" "\\2.*" suite "${line}")
    list(APPEND filter ${suite})
  endforeach()
  if(NOT filter)
    continue()
  endif()
  list(REMOVE_DUPLICATES filter)
  list(JOIN filter ":" filter)
  get_filename_component(name ${source} NAME_WE)
  string(REGEX REPLACE "_e2e_test$|_test$" "" name ${name})
  add_test(NAME e2e_${name} COMMAND bash ${SESSION} exec ${RUN_DIR} $<TARGET_FILE:e2e_tests>
           --halvorn=$<TARGET_FILE:halvorn> --gtest_filter=${filter})
  set_tests_properties(e2e_${name} PROPERTIES LABELS e2e FIXTURES_REQUIRED wine RESOURCE_LOCK wineserver
                       ENVIRONMENT HALVORN_LOG_NAME=e2e_${name})
endforeach()

# Reboot ends every program of its Wine session, so it runs in a session of its own.
set(REBOOT_RUN_DIR ${CMAKE_BINARY_DIR}/wine-run-reboot)
add_test(NAME e2e_reboot COMMAND bash -c "bash '${SESSION}' start '${REBOOT_RUN_DIR}' >/dev/null || exit 1; \
bash '${SESSION}' exec '${REBOOT_RUN_DIR}' '$<TARGET_FILE:e2e_tests>' --halvorn='$<TARGET_FILE:halvorn>' \
--gtest_filter=RebootE2e.*; status=$?; bash '${SESSION}' stop '${REBOOT_RUN_DIR}' >/dev/null; exit $status")
set_tests_properties(e2e_reboot PROPERTIES LABELS e2e RESOURCE_LOCK wineserver ENVIRONMENT HALVORN_LOG_NAME=e2e_reboot)

# The staging of a program folder (make run's) brings every program file and keeps the
# statistics already there.
add_test(NAME stage_program_files COMMAND bash ${CMAKE_SOURCE_DIR}/tests/stage_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(stage_program_files PROPERTIES LABELS unit)

# The endurance run's short form: 2,000 real ticks with the status report and the six
# monitors open; fails when the handle, USER or GDI count grew after the first 1,000 ticks.
# make soak runs the long form, which also judges the private bytes.
add_test(NAME e2e_soak COMMAND bash ${SESSION} exec ${RUN_DIR} $<TARGET_FILE:soak> 2000)
set_tests_properties(e2e_soak PROPERTIES LABELS e2e FIXTURES_REQUIRED wine RESOURCE_LOCK wineserver
                     ENVIRONMENT HALVORN_LOG_NAME=e2e_soak)
