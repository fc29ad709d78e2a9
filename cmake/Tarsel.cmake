# Helpers shared by the build files.

set(TARSEL_LIBRARIES "" CACHE INTERNAL "")

# tarsel_library(name): a static library of every .cpp under <name>/, linked to every
# library declared before it (the one-way layering). A folder with no source yet makes none.
function(tarsel_library name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${TARSEL_WARNINGS})
  target_link_libraries(${name} PUBLIC ${TARSEL_LIBRARIES} Threads::Threads)
  set(TARSEL_LIBRARIES ${TARSEL_LIBRARIES} ${name} CACHE INTERNAL "")
endfunction()

# The environment every test runs with, so that a plain `ctest` in the build folder behaves as
# scripts/test does: the built content, no window on the person's display and no sound card
# (the x11 tests start an X server and pick SDL's x11 driver themselves), and a documents folder
# of the build's own, so that no test can touch the person's real config.ini or save file.
set(TARSEL_TEST_DOCUMENTS ${CMAKE_BINARY_DIR}/test-documents)
file(MAKE_DIRECTORY ${TARSEL_TEST_DOCUMENTS})
set(TARSEL_TEST_ENVIRONMENT "TARSEL_CONTENT_DIR=${CMAKE_BINARY_DIR}/content" "SDL_VIDEODRIVER=offscreen"
    "SDL_AUDIODRIVER=dummy" "TARSEL_DOCUMENTS=${TARSEL_TEST_DOCUMENTS}")
if(TARSEL_SANITIZE)
  # The sanitizer runtime's tracking of dynamic TLS (intercepted __tls_get_addr) can leave a
  # stale block behind on this glibc; the leak check at exit then crashes reading it.
  list(APPEND TARSEL_TEST_ENVIRONMENT "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
       "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:intercept_tls_get_addr=0")
endif()
