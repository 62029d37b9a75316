target_link_libraries(${ZU_TEST_TARGET} PRIVATE zu_app)
# The system gate's verdict is recorded during static initialisation, as in the installer.
target_sources(${ZU_TEST_TARGET} PRIVATE "${CMAKE_SOURCE_DIR}/src/app/system_gate_registration.cpp")
