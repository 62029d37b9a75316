# Generators that run on the build machine whatever the target: compiled with the host's
# compiler so that the cross build can run them too.
find_program(ZU_HOST_CXX NAMES c++ g++ REQUIRED)

# zu_host_tool(NAME SOURCES...) defines ZU_HOST_TOOL_<NAME> as the path of the built tool.
# Sources may include the core's standard-library-only headers ("payload/...", "support/...").
function(zu_host_tool name)
  set(out "${CMAKE_BINARY_DIR}/host-tools/${name}")
  set(srcs ${ARGN})
  list(TRANSFORM srcs PREPEND "${CMAKE_SOURCE_DIR}/")
  add_custom_command(OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/host-tools"
    COMMAND "${ZU_HOST_CXX}" -std=c++17 -O1 -I "${CMAKE_SOURCE_DIR}/src" -o "${out}" ${srcs}
    DEPENDS ${srcs}
    COMMENT "Building host tool ${name}")
  add_custom_target(host_tool_${name} DEPENDS "${out}")
  set(ZU_HOST_TOOL_${name} "${out}" PARENT_SCOPE)
endfunction()
