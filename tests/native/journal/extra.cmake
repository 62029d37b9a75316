# The "ulog" subcommand of installer-tool is tested here through its function, and built as a
# small stand-alone driver (ulog_show) until the tool's main calls it.
set(zu_ulog_command "${CMAKE_SOURCE_DIR}/tools/installer-tool/ulog_command.cpp")
target_sources(${ZU_TEST_TARGET} PRIVATE "${zu_ulog_command}")
target_include_directories(${ZU_TEST_TARGET} PRIVATE "${CMAKE_SOURCE_DIR}/tools")
add_executable(ulog_show "${ZU_TEST_DIR}/driver/ulog_main.cpp" "${zu_ulog_command}")
target_include_directories(ulog_show PRIVATE "${CMAKE_SOURCE_DIR}/tools")
target_link_libraries(ulog_show PRIVATE zu_core)
