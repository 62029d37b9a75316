# The DirectX tests load the setup library's test double (and its companion) as the
# installer loads the real one.
add_dependencies(${ZU_TEST_TARGET} dsetup_standin dsetup_standin_without_setup dsetup32_standin)
target_compile_definitions(${ZU_TEST_TARGET} PRIVATE
  ZU_DSETUP_STANDIN="$<TARGET_FILE:dsetup_standin>"
  ZU_DSETUP_STANDIN_WITHOUT_SETUP="$<TARGET_FILE:dsetup_standin_without_setup>"
  ZU_DSETUP32_STANDIN="$<TARGET_FILE:dsetup32_standin>")
