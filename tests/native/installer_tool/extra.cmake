# The tests run the built tool as a vendor would.
add_dependencies(${ZU_TEST_TARGET} installer-tool)
target_compile_definitions(${ZU_TEST_TARGET} PRIVATE ZU_INSTALLER_TOOL="$<TARGET_FILE:installer-tool>")
