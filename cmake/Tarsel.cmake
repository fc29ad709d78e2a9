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

# tarsel_environment(var): the environment every test and benchmark runs with.
set(TARSEL_TEST_ENVIRONMENT "TARSEL_CONTENT_DIR=${CMAKE_BINARY_DIR}/content")
