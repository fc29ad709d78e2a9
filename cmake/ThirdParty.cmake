# Third-party dependencies, all from Debian packages.
find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
find_package(Eigen3 REQUIRED NO_MODULE)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
pkg_check_modules(TINYXML REQUIRED IMPORTED_TARGET tinyxml)
pkg_check_modules(SIGCXX IMPORTED_TARGET sigc++-2.0)
# libspatialindex ships no pkg-config file; benchmarks compare against its R*-tree.
find_library(SPATIALINDEX_LIBRARY spatialindex REQUIRED)
find_path(SPATIALINDEX_INCLUDE_DIR spatialindex/SpatialIndex.h REQUIRED)
add_library(tarsel_spatialindex INTERFACE)
target_include_directories(tarsel_spatialindex SYSTEM INTERFACE ${SPATIALINDEX_INCLUDE_DIR})
target_link_libraries(tarsel_spatialindex INTERFACE ${SPATIALINDEX_LIBRARY})

add_library(tarsel_stb INTERFACE)
target_include_directories(tarsel_stb SYSTEM INTERFACE /usr/include/stb)

# Which library stands on which third-party package.
function(tarsel_link_third_party)
  if(TARGET platform)
    target_link_libraries(platform PUBLIC PkgConfig::SDL2 PkgConfig::SDL2_MIXER PkgConfig::EPOXY
                          tarsel_stb Threads::Threads ${CMAKE_DL_LIBS})
  endif()
  if(TARGET engine)
    target_link_libraries(engine PUBLIC PkgConfig::TINYXML)
  endif()
endfunction()
