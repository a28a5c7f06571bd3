# The engine's layers. Each layer is a static library "kestrova_engine_<layer>" built from every
# .cpp below engine/<layer>, and sees only its own include root and those of the layers it links:
# a root is a folder of the build tree holding one link, engine/<layer> -> the layer's sources.
# An include path always names the layer ("engine/core/Job.h"), so a file that includes from a
# layer above its own does not compile.
#
# Every header of a layer is also compiled on its own with the layer's roots (target
# kestrova_engine_<layer>_headers): a header included only from a layer above is checked too,
# and each header brings what it needs.
function(kestrova_engine_layer layer)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "LINKS")
  set(root ${CMAKE_BINARY_DIR}/include/${layer})
  file(MAKE_DIRECTORY ${root}/engine)
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/engine/${layer} ${root}/engine/${layer} SYMBOLIC)

  set(target kestrova_engine_${layer})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/engine/${layer}/*.cpp)
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PUBLIC ${ARG_LINKS})

  file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
       ${PROJECT_SOURCE_DIR}/engine/${layer}/*.h)
  set(checks)
  foreach(header IN LISTS headers)
    set(check ${CMAKE_CURRENT_BINARY_DIR}/header_check/${header}.cpp)
    file(CONFIGURE OUTPUT ${check} CONTENT "#include \"${header}\"\n")
    list(APPEND checks ${check})
  endforeach()
  add_library(${target}_headers OBJECT ${checks})
  # One header per file: a batch would let a header lean on the includes of the one before it.
  set_target_properties(${target}_headers PROPERTIES UNITY_BUILD OFF)
  target_link_libraries(${target}_headers PRIVATE ${target})
endfunction()
