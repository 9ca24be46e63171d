# -DVEXA_SANITIZE=ON builds every target with AddressSanitizer (leak checking
# included) and UndefinedBehaviorSanitizer; the first error of either ends the
# program with a report. Use a build folder of its own: nothing of it mixes with
# an ordinary build.
option(VEXA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(NOT VEXA_SANITIZE)
  return()
endif()

# A library of its own, so that the sanitizer runtime, which intercepts dlclose
# and hands the call on to the next library in the search order, reaches this
# one instead of the C library's. Executables need it whether or not they name
# any of its symbols, hence the forced DT_NEEDED entry.
add_library(vexa_keep_libraries_loaded SHARED ${CMAKE_CURRENT_LIST_DIR}/KeepLibrariesLoaded.c)
set(CMAKE_LINK_LIBRARY_USING_vexa_always_needed
    "LINKER:--push-state,--no-as-needed" "<LINK_ITEM>" "LINKER:--pop-state")
set(CMAKE_LINK_LIBRARY_USING_vexa_always_needed_SUPPORTED TRUE)
link_libraries("$<LINK_LIBRARY:vexa_always_needed,vexa_keep_libraries_loaded>")

set(VEXA_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                         -fno-omit-frame-pointer)
add_compile_options(${VEXA_SANITIZER_FLAGS})
add_link_options(${VEXA_SANITIZER_FLAGS})
