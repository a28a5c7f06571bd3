# How the test suites are compiled. Test code is a thin layer over the engine and the windows,
# which keep the build's optimisation; the suites themselves build without optimisation (they
# take about half the time to compile and run as fast: the work is in the libraries), and each
# test executable precompiles the GoogleTest header that every one of its files includes.

add_compile_options(-O0)

# Adds the precompiled GoogleTest header to every executable defined in `dir` and below.
function(kestrova_precompile_test_headers dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_precompile_headers(${target} PRIVATE <gtest/gtest.h>)
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    kestrova_precompile_test_headers(${subdirectory})
  endforeach()
endfunction()
