# The "ulog" subcommand of installer-tool is tested here through its function.
set(zu_ulog_command "${CMAKE_SOURCE_DIR}/tools/installer-tool/ulog_command.cpp")
target_sources(${ZU_TEST_TARGET} PRIVATE "${zu_ulog_command}")
target_include_directories(${ZU_TEST_TARGET} PRIVATE "${CMAKE_SOURCE_DIR}/tools")
