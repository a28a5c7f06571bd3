# Warnings on for our own code; third-party headers come in as system includes.
add_compile_options(-Wall -Wextra)

# Adds every listed subfolder that has a CMakeLists.txt of its own.
function(kestrova_add_present_subdirectories)
  foreach(dir IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
