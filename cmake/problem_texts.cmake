# The problem solver's knowledge base: make_problems turns the text sources under
# src/resources/problems into problem_texts.cpp and problem_texts.h, compiled into the core.
# PROBLEMS_TOOL names the generator (a path, or the host build's target).
set(PROBLEM_DIR ${CMAKE_SOURCE_DIR}/src/resources/problems)
set(PROBLEM_CATEGORIES cdrom floppy_drives hard_drives keyboard memory modem monitor
    motherboard mouse ports power_supply printer scsi sound video_card)
set(PROBLEM_SOURCES ${PROBLEM_DIR}/checks.txt)
foreach(name ${PROBLEM_CATEGORIES})
  list(APPEND PROBLEM_SOURCES ${PROBLEM_DIR}/${name}.txt)
endforeach()
set(PROBLEM_GEN_DIR ${CMAKE_BINARY_DIR}/generated_code)
file(MAKE_DIRECTORY ${PROBLEM_GEN_DIR})
add_custom_command(
  OUTPUT ${PROBLEM_GEN_DIR}/problem_texts.cpp ${PROBLEM_GEN_DIR}/problem_texts.h
  COMMAND ${PROBLEMS_TOOL} ${PROBLEM_GEN_DIR}/problem_texts.cpp ${PROBLEM_GEN_DIR}/problem_texts.h ${PROBLEM_SOURCES}
  DEPENDS ${PROBLEM_SOURCES} ${PROBLEMS_TOOL}
  COMMENT "Generating the problem solver's knowledge base")
target_sources(halvorn_core PRIVATE ${PROBLEM_GEN_DIR}/problem_texts.cpp)
target_include_directories(halvorn_core PUBLIC ${PROBLEM_GEN_DIR})
