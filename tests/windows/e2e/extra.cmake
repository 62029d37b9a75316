# The scenarios work the real installer, whose install sequence runs the stand-in product and
# its uninstaller; the wizard driver lives with the wizard's tests.
add_dependencies(${ZU_TEST_TARGET} installer standin_mobrix standin_uninstall)
target_compile_definitions(${ZU_TEST_TARGET} PRIVATE ZU_INSTALLER_EXE="$<TARGET_FILE:installer>")
add_dependencies(${ZU_TEST_TARGET} standin_mobrix_6_5_7_9 standin_mobrix_6_5_8_2)
target_compile_definitions(${ZU_TEST_TARGET} PRIVATE
  ZU_STANDIN_OLDER_EXE="$<TARGET_FILE:standin_mobrix_6_5_7_9>" ZU_STANDIN_NEWER_EXE="$<TARGET_FILE:standin_mobrix_6_5_8_2>")
target_compile_definitions(${ZU_TEST_TARGET} PRIVATE ZU_STANDIN_EXE="$<TARGET_FILE:standin_mobrix>")
