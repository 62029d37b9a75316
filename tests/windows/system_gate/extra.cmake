# The gate ends its process, so each case runs in a helper program of its own. The helper
# also carries the installer's own gate registration, to show when it runs.
add_executable(system_gate_helper "${ZU_TEST_DIR}/helpers/gate_helper.cpp"
  "${CMAKE_SOURCE_DIR}/src/app/system_gate_registration.cpp")
target_link_libraries(system_gate_helper PRIVATE zu_core)
target_link_options(system_gate_helper PRIVATE -municode)
add_dependencies(${ZU_TEST_TARGET} system_gate_helper)
target_compile_definitions(${ZU_TEST_TARGET} PRIVATE
  ZU_GATE_HELPER="$<TARGET_FILE_NAME:system_gate_helper>")
