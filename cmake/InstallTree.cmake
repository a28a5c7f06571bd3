# `cmake -DBUILD=<build> -DPREFIX=<dir> -P InstallTree.cmake`: installs the build afresh into
# PREFIX and takes the write permission away, as an installed program's prefix is for its users.
if(EXISTS ${PREFIX})
  execute_process(COMMAND chmod -R u+w ${PREFIX})
  file(REMOVE_RECURSE ${PREFIX})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND chmod -R a-w ${PREFIX} COMMAND_ERROR_IS_FATAL ANY)
