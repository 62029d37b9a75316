# The driver works the real installer, and a host of the same wizard whose install state and
# install sequence the tests choose (wizard_host.exe), both with the installer's resources.
add_executable(wizard_host WIN32 "${ZU_TEST_DIR}/host/wizard_host.cpp" ${ZU_INSTALLER_RESOURCES}
  "${CMAKE_SOURCE_DIR}/src/app/system_gate_registration.cpp")
set_source_files_properties(${ZU_INSTALLER_RESOURCES} TARGET_DIRECTORY wizard_host
  PROPERTIES OBJECT_DEPENDS "${ZU_INSTALLER_RESOURCE_DEPENDS}")
target_include_directories(wizard_host PRIVATE "${CMAKE_BINARY_DIR}/generated" "${CMAKE_SOURCE_DIR}/src/resources")
target_link_libraries(wizard_host PRIVATE zu_app)
target_link_options(wizard_host PRIVATE -municode)
add_dependencies(wizard_host zu_installer_resources standin_mobrix_6_5_7_9 standin_mobrix_6_5_8_2)
target_include_directories(wizard_host PRIVATE "${CMAKE_SOURCE_DIR}/tests/windows")
target_compile_definitions(wizard_host PRIVATE
  ZU_STANDIN_OLDER_EXE="$<TARGET_FILE:standin_mobrix_6_5_7_9>" ZU_STANDIN_NEWER_EXE="$<TARGET_FILE:standin_mobrix_6_5_8_2>")

add_dependencies(${ZU_TEST_TARGET} installer wizard_host)
target_compile_definitions(${ZU_TEST_TARGET} PRIVATE
  ZU_INSTALLER_EXE="$<TARGET_FILE:installer>" ZU_WIZARD_HOST_EXE="$<TARGET_FILE:wizard_host>")
target_include_directories(${ZU_TEST_TARGET} PRIVATE "${CMAKE_SOURCE_DIR}/src/resources")

# The frame is also shown inside the test program, which then needs the wizard's templates,
# pictures and version resource (its string tables it carries already).
target_link_libraries(${ZU_TEST_TARGET} PRIVATE zu_app)
target_sources(${ZU_TEST_TARGET} PRIVATE "${ZU_TEST_DIR}/data/wizard_resources.rc")
target_include_directories(${ZU_TEST_TARGET} PRIVATE "${CMAKE_BINARY_DIR}/generated")
set_source_files_properties("${ZU_TEST_DIR}/data/wizard_resources.rc" PROPERTIES
  OBJECT_DEPENDS "${ZU_INSTALLER_RESOURCE_DEPENDS}")
target_sources(${ZU_TEST_TARGET} PRIVATE "${CMAKE_SOURCE_DIR}/src/app/system_gate_registration.cpp")

# Libraries named like those that programs commonly load by name, each leaving a marker file
# beside itself when loaded; the hardening test plants them beside a copy of the installer and
# in its working folder.
set(ZU_CANARY_NAMES version uxtheme dwmapi cryptbase profapi userenv winmm propsys sspicli comctl32 dsetup32)
set(canary_files "")
foreach(name IN LISTS ZU_CANARY_NAMES)
  add_library(canary_${name} SHARED "${ZU_TEST_DIR}/canary/canary.c")
  set_target_properties(canary_${name} PROPERTIES PREFIX "" OUTPUT_NAME "${name}"
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/canaries"
    ARCHIVE_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/canaries/lib")
  add_dependencies(${ZU_TEST_TARGET} canary_${name})
  list(APPEND canary_files "$<TARGET_FILE:canary_${name}>")
endforeach()
list(JOIN ZU_CANARY_NAMES "," canary_list)
target_compile_definitions(${ZU_TEST_TARGET} PRIVATE
  ZU_CANARY_FOLDER="${CMAKE_CURRENT_BINARY_DIR}/canaries" ZU_CANARY_NAMES="${canary_list}")

# The installer's import table holds only libraries the system always takes from its own folder.
if(NOT CMAKE_OBJDUMP)
  find_program(CMAKE_OBJDUMP NAMES x86_64-w64-mingw32-objdump REQUIRED)
endif()
add_test(NAME installer_imports_only_known_dlls
  COMMAND sh "${ZU_TEST_DIR}/check_imports.sh" "${CMAKE_OBJDUMP}" "$<TARGET_FILE:installer>")
