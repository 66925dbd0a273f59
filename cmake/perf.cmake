# Win32 benchmarks: every perf/*.cpp that includes <windows.h> becomes a program in
# perf/ of the build folder, linked with the Win32 services. scripts/perf.sh runs them
# under a Wine session of their own.
file(GLOB WIN_PERF_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/perf/*.cpp)
foreach(src ${WIN_PERF_SOURCES})
  file(STRINGS ${src} win_include REGEX "^#include <windows\\.h>")
  if(win_include)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE ${WARNINGS} -O2)
    target_link_libraries(${name} PRIVATE halvorn_win)
    # Crafted programs and folder walks are shared with the tests.
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/harness)
    target_link_options(${name} PRIVATE ${WIN_LINK})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/perf)
  endif()
endforeach()

# The endurance run opens the monitors, which take their dialogs from the running
# program's own resources, so it links the program's resource script; it reads its own
# memory use through psapi.
target_sources(soak PRIVATE ${RC_MAIN})
add_dependencies(soak halvorn_resources)
target_link_libraries(soak PRIVATE psapi)
# The status benchmark times the monitors too, which take their dialogs and icons from the
# running program's resources.
target_sources(status_bench PRIVATE ${RC_MAIN})
add_dependencies(status_bench halvorn_resources)

# The floor of the whole-cost run is a windowed program, as halvorn.exe is: no console.
set_target_properties(floor_probe PROPERTIES WIN32_EXECUTABLE ON)
