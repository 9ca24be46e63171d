# Runs one module of the resource generator (tools/resgen) at build time:
#   vexa_generate(<output> <module> <comment> <Python files of resgen it reads>...)
# writes <output> with `python3 -m resgen.<module> <output>`, and writes it again
# whenever one of the named files changes. Call it where the target that needs the
# output is made.
function(vexa_generate output module comment)
  set(sources ${ARGN})
  list(TRANSFORM sources PREPEND ${PROJECT_SOURCE_DIR}/tools/resgen/)
  get_filename_component(folder ${output} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${Python3_EXECUTABLE} -B -m resgen.${module} ${output}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/tools
    DEPENDS ${sources}
    COMMENT "${comment}"
    VERBATIM)
endfunction()
