# Generated resources: the host generators in tools/ turn every art and text source under
# src/resources into a file in GEN_DIR, named as the source with its kind's extension; the
# .rc files refer to them by that name (GEN_DIR is on windres' include path). Every output
# goes into GENERATED_RESOURCES, on which halvorn.rc depends.
set(GEN_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${GEN_DIR})
set(GENERATED_RESOURCES)

# One output per source matching pattern: NAME<source_suffix> becomes NAME<output_suffix>.
macro(generate_each pattern source_suffix output_suffix tool)
  file(GLOB sources CONFIGURE_DEPENDS ${pattern})
  foreach(src ${sources})
    get_filename_component(base ${src} NAME)
    string(REPLACE ${source_suffix} ${output_suffix} out ${base})
    add_custom_command(OUTPUT ${GEN_DIR}/${out}
      COMMAND ${HALVORN_TOOLS_DIR}/${tool} ${src} ${GEN_DIR}/${out}
      DEPENDS ${src} ${HALVORN_TOOLS_DIR}/${tool}
      COMMENT "Generating ${out}")
    list(APPEND GENERATED_RESOURCES ${GEN_DIR}/${out})
  endforeach()
endmacro()

set(ART_DIR ${CMAKE_SOURCE_DIR}/src/resources/art)
generate_each(${ART_DIR}/*.icon.txt .icon.txt .ico make_icon)
generate_each(${ART_DIR}/*.cursor.txt .cursor.txt .cur make_icon)
generate_each(${ART_DIR}/*.bmp.txt .bmp.txt .bmp make_bitmap)
# RCDATA texts (report tables, help texts): lines joined by line feeds, NUL-terminated.
generate_each(${CMAKE_SOURCE_DIR}/src/resources/text/*.txt .txt .bin make_text)

# Pictures drawn by code: the splash pyramid, and the same pyramid at the size of the
# About box's picture frame.
foreach(picture "splash_1522 360 300" "about_1525 70 65")
  separate_arguments(picture)
  list(GET picture 0 name)
  list(GET picture 1 width)
  list(GET picture 2 height)
  add_custom_command(OUTPUT ${GEN_DIR}/${name}.bmp
    COMMAND ${HALVORN_TOOLS_DIR}/make_pyramid ${GEN_DIR}/${name}.bmp ${width} ${height}
    DEPENDS ${HALVORN_TOOLS_DIR}/make_pyramid
    COMMENT "Generating ${name}.bmp")
  list(APPEND GENERATED_RESOURCES ${GEN_DIR}/${name}.bmp)
endforeach()

# Help texts: the same text format, one RCDATA per file.
generate_each(${CMAKE_SOURCE_DIR}/src/resources/help/*.txt .txt .bin make_text)

# Usage monitor icons: numbers 0..99 (1700..1799) and the labels 1850..1854, drawn by
# make_number_icon as text pictures and turned into icons by make_icon.
set(USAGE_ICONS)
foreach(n RANGE 0 99)
  math(EXPR id "1700 + ${n}")
  list(APPEND USAGE_ICONS "${n} ${id}")
endforeach()
list(APPEND USAGE_ICONS "CPU 1850" "DSK 1851" "WPM 1852" "MEM 1853" "VID 1854")
foreach(icon ${USAGE_ICONS})
  separate_arguments(icon)
  list(GET icon 0 text)
  list(GET icon 1 id)
  add_custom_command(OUTPUT ${GEN_DIR}/usage_${id}.ico
    COMMAND ${HALVORN_TOOLS_DIR}/make_number_icon ${text} ${GEN_DIR}/usage_${id}.icon.txt
    COMMAND ${HALVORN_TOOLS_DIR}/make_icon ${GEN_DIR}/usage_${id}.icon.txt ${GEN_DIR}/usage_${id}.ico
    DEPENDS ${HALVORN_TOOLS_DIR}/make_number_icon ${HALVORN_TOOLS_DIR}/make_icon
    COMMENT "Generating usage_${id}.ico")
  list(APPEND GENERATED_RESOURCES ${GEN_DIR}/usage_${id}.ico)
endforeach()

# readme.txt goes beside halvorn.exe, where the README viewer reads it.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/readme.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/src/resources/readme.txt ${CMAKE_BINARY_DIR}/readme.txt
  DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/readme.txt
  COMMENT "Copying readme.txt")
list(APPEND GENERATED_RESOURCES ${CMAKE_BINARY_DIR}/readme.txt)

# Tip files go beside halvorn.exe, where the coach and Boost PC Tips read them: each built
# from its text source, with the highest key its records may carry.
set(TIP_FILES)
foreach(tips "coach COACH.DAT 12" "boost BOOST.DAT 9")
  separate_arguments(tips)
  list(GET tips 0 name)
  list(GET tips 1 file)
  list(GET tips 2 max_key)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${file}
    COMMAND ${HALVORN_TOOLS_DIR}/make_tips ${CMAKE_SOURCE_DIR}/src/resources/tips/${name}.txt ${CMAKE_BINARY_DIR}/${file} ${max_key}
    DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/tips/${name}.txt ${HALVORN_TOOLS_DIR}/make_tips
    COMMENT "Generating ${file}")
  list(APPEND TIP_FILES ${CMAKE_BINARY_DIR}/${file})
endforeach()
list(APPEND GENERATED_RESOURCES ${TIP_FILES})

# The sound card test's noise goes beside halvorn.exe, where the test plays it: noise on
# the right channel, the left channel, and both.
set(WAVE_FILES)
foreach(wave "right r_noise.wav" "left l_noise.wav" "both b_noise.wav")
  separate_arguments(wave)
  list(GET wave 0 channel)
  list(GET wave 1 file)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${file}
    COMMAND ${HALVORN_TOOLS_DIR}/make_wave ${channel} ${CMAKE_BINARY_DIR}/${file}
    DEPENDS ${HALVORN_TOOLS_DIR}/make_wave
    COMMENT "Generating ${file}")
  list(APPEND WAVE_FILES ${CMAKE_BINARY_DIR}/${file})
endforeach()
list(APPEND GENERATED_RESOURCES ${WAVE_FILES})
