# The installer itself and a small library whose version resource lacks FileDescription and
# carries the private and debug flags.
add_library(version_fixture MODULE "${ZU_TEST_DIR}/data/version_fixture.c" "${ZU_TEST_DIR}/data/version_fixture.rc")
set_target_properties(version_fixture PROPERTIES PREFIX "")
target_sources(${ZU_TEST_TARGET} PRIVATE "${ZU_TEST_DIR}/data/test_program.rc")
add_dependencies(${ZU_TEST_TARGET} installer version_fixture)
target_compile_definitions(${ZU_TEST_TARGET} PRIVATE
  ZU_INSTALLER_EXE="$<TARGET_FILE:installer>" ZU_VERSION_FIXTURE="$<TARGET_FILE:version_fixture>")
