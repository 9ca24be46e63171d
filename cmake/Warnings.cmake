# Project code builds warning-free with these; third-party headers are included as SYSTEM.
# CI turns warnings into errors; a player's newer compiler only warns, so the game
# still builds where a new warning appears.
option(VEXA_WARNINGS_AS_ERRORS "Fail the build on any warning in the project's code" OFF)

function(vexa_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                                           $<$<BOOL:${VEXA_WARNINGS_AS_ERRORS}>:-Werror>)
endfunction()
