target_include_directories(${ZU_TEST_TARGET} PRIVATE "${CMAKE_SOURCE_DIR}/tests/native")
