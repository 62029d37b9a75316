# Second processes for the mutex and counter cases (in helpers/, outside the test program's glob).
add_executable(named_objects_helper "${ZU_TEST_DIR}/helpers/object_helper.cpp")
target_link_libraries(named_objects_helper PRIVATE zu_core)
target_link_options(named_objects_helper PRIVATE -municode)

# The installer's own static registrations, compiled in as the installer compiles them.
add_executable(named_objects_static_helper "${ZU_TEST_DIR}/helpers/static_registration_helper.cpp"
  "${CMAKE_SOURCE_DIR}/src/app/system_gate_registration.cpp"
  "${CMAKE_SOURCE_DIR}/src/app/running_product_counter.cpp"
  "${CMAKE_SOURCE_DIR}/src/app/running_product_registration.cpp")
target_link_libraries(named_objects_static_helper PRIVATE zu_core)
target_link_options(named_objects_static_helper PRIVATE -municode)

add_dependencies(${ZU_TEST_TARGET} named_objects_helper named_objects_static_helper)
target_compile_definitions(${ZU_TEST_TARGET} PRIVATE
  ZU_OBJECT_HELPER="$<TARGET_FILE_NAME:named_objects_helper>"
  ZU_STATIC_HELPER="$<TARGET_FILE_NAME:named_objects_static_helper>")
