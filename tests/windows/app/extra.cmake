target_link_libraries(${ZU_TEST_TARGET} PRIVATE zu_app)
