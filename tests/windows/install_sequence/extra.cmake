# The real install sequence with the demo payload, windowless: the test program carries the
# payload resource as the installer does.
target_link_libraries(${ZU_TEST_TARGET} PRIVATE zu_app)
target_sources(${ZU_TEST_TARGET} PRIVATE "${ZU_TEST_DIR}/payload_resource.rc")
set_source_files_properties("${ZU_TEST_DIR}/payload_resource.rc" PROPERTIES
  OBJECT_DEPENDS "${ZU_PAYLOAD};${CMAKE_BINARY_DIR}/generated/payload.rc")
add_dependencies(${ZU_TEST_TARGET} zu_payload)
target_sources(${ZU_TEST_TARGET} PRIVATE "${CMAKE_SOURCE_DIR}/src/app/system_gate_registration.cpp")
