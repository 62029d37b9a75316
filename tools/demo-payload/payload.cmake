# The payload that the installer carries as its resource 260/134: the demo payload built from
# the stand-in product, or a vendor's own archive given as ZU_PAYLOAD_FILE.
#
# The archive is made by installer-tool, a native program: the Windows build builds the
# native tools it needs in a tree of their own (native-tools/) with the host's compiler.
if(NOT WIN32)
  return()
endif()

set(payload_dir "${CMAKE_BINARY_DIR}/payload")
if(ZU_PAYLOAD_FILE)
  set(ZU_PAYLOAD "${ZU_PAYLOAD_FILE}")
  set(payload_depends "${ZU_PAYLOAD_FILE}")
else()
  include(ExternalProject)
  set(native_tools "${CMAKE_BINARY_DIR}/native-tools")
  ExternalProject_Add(zu_native_tools
    SOURCE_DIR "${CMAKE_SOURCE_DIR}"
    BINARY_DIR "${native_tools}"
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DZU_TOOLS_ONLY=ON
    BUILD_COMMAND ${CMAKE_COMMAND} --build "${native_tools}" --target installer-tool
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS "${native_tools}/tools/installer-tool/installer-tool")
  set(installer_tool "${native_tools}/tools/installer-tool/installer-tool")
  zu_host_tool(demodata tools/demo-payload/demodata.cpp)

  set(binaries main_program=$<TARGET_FILE:standin_mobrix> uninstaller=$<TARGET_FILE:standin_uninstall>)
  set(binary_targets standin_mobrix standin_uninstall ${ZU_STANDIN_LANGUAGE_TARGETS})
  foreach(language IN LISTS ZU_STANDIN_LANGUAGE_TARGETS)
    list(APPEND binaries standard_file=$<TARGET_FILE:${language}>)
  endforeach()
  foreach(temporary IN ITEMS dsetup_standin dsetup32_standin)
    if(TARGET ${temporary})
      list(APPEND binaries temporary_file=$<TARGET_FILE:${temporary}>)
      list(APPEND binary_targets ${temporary})
    endif()
  endforeach()

  # The shipped payload's figures: a header of 12,842 bytes and an archive of 25,479,152.
  set(ZU_PAYLOAD "${payload_dir}/demo-payload.bz2")
  add_custom_command(OUTPUT "${ZU_PAYLOAD}"
    COMMAND ${CMAKE_COMMAND} -E rm -rf "${payload_dir}/stage"
    COMMAND "${ZU_HOST_TOOL_demodata}" "${payload_dir}" 12842 25479152 ${binaries}
    COMMAND "${installer_tool}" payload build "${payload_dir}/demo.manifest" "${ZU_PAYLOAD}"
    DEPENDS host_tool_demodata "${ZU_HOST_TOOL_demodata}" zu_native_tools ${binary_targets}
    COMMENT "Building the demo payload"
    VERBATIM)
  set(payload_depends "${ZU_PAYLOAD}")
endif()

file(WRITE "${CMAKE_BINARY_DIR}/generated/payload.rc.in" "134 260 \"@ZU_PAYLOAD@\"\n")
configure_file("${CMAKE_BINARY_DIR}/generated/payload.rc.in" "${CMAKE_BINARY_DIR}/generated/payload.rc" @ONLY)
add_custom_target(zu_payload DEPENDS ${payload_depends})
add_dependencies(installer zu_payload)
set_property(SOURCE ${ZU_INSTALLER_RESOURCES} DIRECTORY "${CMAKE_SOURCE_DIR}/src/app" APPEND PROPERTY
  OBJECT_DEPENDS "${payload_depends};${CMAKE_BINARY_DIR}/generated/payload.rc")
set(ZU_PAYLOAD "${ZU_PAYLOAD}" CACHE INTERNAL "")
