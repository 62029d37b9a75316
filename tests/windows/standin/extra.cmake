add_dependencies(${ZU_TEST_TARGET} standin_mobrix)
target_compile_definitions(${ZU_TEST_TARGET} PRIVATE ZU_STANDIN_MOBRIX="$<TARGET_FILE:standin_mobrix>")
add_dependencies(${ZU_TEST_TARGET} standin_uninstall)
target_compile_definitions(${ZU_TEST_TARGET} PRIVATE ZU_STANDIN_UNINSTALL="$<TARGET_FILE:standin_uninstall>")
