# The resource generator (tools/resgen) writes the game's models, textures and
# sounds, its header of the animated models' clips and its icon. Everything it
# writes is written again whenever one of its Python files changes.
file(GLOB VEXA_RESGEN_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/resgen/*.py)

# vexa_generate(<output> <module> <comment>) writes <output> at build time with
# `python3 -m resgen.<module> <output>`. Call it where the target that needs the
# output is made.
function(vexa_generate output module comment)
  get_filename_component(folder ${output} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${Python3_EXECUTABLE} -B -m resgen.${module} ${output}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/tools
    DEPENDS ${VEXA_RESGEN_SOURCES}
    COMMENT "${comment}"
    VERBATIM)
endfunction()
