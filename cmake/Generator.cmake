# The resource generator (tools/resgen) writes the game's models, textures and
# sounds, its header of the animated models' clips, its icon and the tests' models.
# Everything it writes is written again whenever one of its Python files changes.
file(GLOB VEXA_RESGEN_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/resgen/*.py)

# vexa_generate(<target> <module> <output> <comment> [FOLDER])
# makes <target>, which writes <output> at build time with
# `python3 -m <module> <output>`, run from tools/. A FOLDER of output is followed
# by a stamp, a file by itself.
function(vexa_generate target module output comment)
  cmake_parse_arguments(PARSE_ARGV 4 arg "FOLDER" "" "")
  if(arg_FOLDER)
    set(written ${CMAKE_CURRENT_BINARY_DIR}/${target}.stamp)
    set(mark COMMAND ${CMAKE_COMMAND} -E touch ${written})
  else()
    set(written ${output})
    set(mark)
    get_filename_component(folder ${output} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
  endif()
  add_custom_command(
    OUTPUT ${written}
    COMMAND ${Python3_EXECUTABLE} -B -m ${module} ${output}
    ${mark}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/tools
    DEPENDS ${VEXA_RESGEN_SOURCES}
    COMMENT "${comment}"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${written})
endfunction()
