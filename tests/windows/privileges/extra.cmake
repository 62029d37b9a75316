# A second process that answers the administrator tests for the token it was started with
# (in helpers/, outside the test program's glob).
add_executable(privileges_admin_helper "${ZU_TEST_DIR}/helpers/admin_helper.cpp")
target_link_libraries(privileges_admin_helper PRIVATE zu_core)
target_link_options(privileges_admin_helper PRIVATE -municode)
add_dependencies(${ZU_TEST_TARGET} privileges_admin_helper)
target_compile_definitions(${ZU_TEST_TARGET} PRIVATE
  ZU_ADMIN_HELPER="$<TARGET_FILE_NAME:privileges_admin_helper>")
