# MinGW build: halvorn.exe, the companion, Win32 tests and end-to-end tests.
enable_language(RC)
if(NOT HALVORN_TOOLS_DIR)
  message(FATAL_ERROR "HALVORN_TOOLS_DIR must name the host build's tools folder (make builds it first)")
endif()

set(WIN_LINK -static -static-libgcc -static-libstdc++)
set(WIN_LIBS comctl32 gdi32 user32 kernel32 advapi32 shell32 comdlg32 winmm version setupapi cfgmgr32)
target_compile_definitions(halvorn_core PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_compile_options(halvorn_core PRIVATE -O2)

include(cmake/resources.cmake)
set(PROBLEMS_TOOL ${HALVORN_TOOLS_DIR}/make_problems)
include(cmake/problem_texts.cmake)
add_custom_target(halvorn_resources DEPENDS ${GENERATED_RESOURCES})

file(GLOB RC_PARTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/*.rc ${CMAKE_SOURCE_DIR}/src/resources/*.h)
set(RC_MAIN ${CMAKE_SOURCE_DIR}/src/resources/halvorn.rc)
set_source_files_properties(${RC_MAIN} PROPERTIES OBJECT_DEPENDS "${GENERATED_RESOURCES};${RC_PARTS}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${GEN_DIR} -I${CMAKE_SOURCE_DIR}/src/resources")

add_library(halvorn_win STATIC ${WIN_SOURCES})
target_include_directories(halvorn_win PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(halvorn_win PRIVATE ${WARNINGS} -O2)
target_link_libraries(halvorn_win PUBLIC halvorn_core ${WIN_LIBS})

add_executable(halvorn WIN32 ${ENTRY_SOURCE} ${RC_MAIN})
add_dependencies(halvorn halvorn_resources)
target_compile_options(halvorn PRIVATE ${WARNINGS} -O2)
target_link_libraries(halvorn PRIVATE halvorn_win)
target_link_options(halvorn PRIVATE ${WIN_LINK})


# The companion, beside halvorn.exe so start-up finds it by name.
add_executable(res16 WIN32 ${CMAKE_SOURCE_DIR}/companion/res16.cpp ${CMAKE_SOURCE_DIR}/companion/resource_levels.cpp)
target_compile_options(res16 PRIVATE ${WARNINGS} -O2)
target_link_libraries(res16 PRIVATE user32 kernel32)
target_link_options(res16 PRIVATE ${WIN_LINK})

# What an installed program has in its folder: the programs and the files they look for
# beside themselves. scripts/stage.sh copies exactly these (make run stages its folder so).
set(PROGRAM_FILES $<TARGET_FILE:halvorn> $<TARGET_FILE:res16> ${CMAKE_BINARY_DIR}/readme.txt ${TIP_FILES} ${WAVE_FILES})
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/program-files.txt CONTENT "$<JOIN:${PROGRAM_FILES},\n>\n")

if(HALVORN_TESTS)
  include(cmake/wine_tests.cmake)
endif()
include(cmake/perf.cmake)
