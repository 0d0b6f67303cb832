# Copies resources/ into the runtime directory so every executable finds PQT590.OVL beside itself.
file(GLOB_RECURSE PQ_RESOURCE_FILES CONFIGURE_DEPENDS ${PQ_RESOURCE_DIR}/*)
set(PQ_RESOURCE_STAMP ${CMAKE_BINARY_DIR}/resources.stamp)
add_custom_command(
    OUTPUT ${PQ_RESOURCE_STAMP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PQ_RUNTIME_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PQ_RESOURCE_DIR} ${PQ_RUNTIME_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${PQ_RESOURCE_STAMP}
    DEPENDS ${PQ_RESOURCE_FILES}
    COMMENT "Copying resources beside the executables")
add_custom_target(pq_resources ALL DEPENDS ${PQ_RESOURCE_STAMP})
