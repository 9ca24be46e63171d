# Project code builds warning-free with these; third-party headers are included as SYSTEM.
function(vexa_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()
