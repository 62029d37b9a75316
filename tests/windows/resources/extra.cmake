# The test reads the installer's pictures and string tables back from its own executable,
# so it links the same generated resources (the string tables come with every test program).
target_sources(${ZU_TEST_TARGET} PRIVATE "${ZU_PICTURES_RC}")
set_source_files_properties("${ZU_PICTURES_RC}" PROPERTIES OBJECT_DEPENDS "${ZU_PICTURES}")
add_dependencies(${ZU_TEST_TARGET} zu_installer_resources)
