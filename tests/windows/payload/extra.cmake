# The test program carries a small payload as resource type 260, name 134, as the installer
# does: the archive is generated on the build machine, compressed with bzip2 and linked in.
zu_host_tool(make_test_payload
  tests/windows/payload/generator/make_test_payload.cpp
  src/payload/payload_header_writer.cpp
  src/support/crc32.cpp)
find_program(ZU_BZIP2 bzip2 REQUIRED)
set(payload_dir "${CMAKE_CURRENT_BINARY_DIR}/payload_resource")
set(payload_raw "${payload_dir}/test_payload.bin")
add_custom_command(OUTPUT "${payload_raw}.bz2"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${payload_dir}"
  COMMAND "${ZU_HOST_TOOL_make_test_payload}" "${payload_raw}"
  COMMAND "${ZU_BZIP2}" -9 -f "${payload_raw}"
  DEPENDS host_tool_make_test_payload "${ZU_HOST_TOOL_make_test_payload}" "${ZU_TEST_DIR}/test_payload.hpp"
  COMMENT "Generating the test payload resource")
file(WRITE "${payload_dir}/test_payload.rc" "134 260 \"${payload_raw}.bz2\"\n")
target_sources(${ZU_TEST_TARGET} PRIVATE "${payload_dir}/test_payload.rc")
set_source_files_properties("${payload_dir}/test_payload.rc" PROPERTIES OBJECT_DEPENDS "${payload_raw}.bz2")
add_custom_target(${ZU_TEST_TARGET}_payload DEPENDS "${payload_raw}.bz2")
add_dependencies(${ZU_TEST_TARGET} ${ZU_TEST_TARGET}_payload)
