# The uninstall log's reader under libFuzzer, with AddressSanitizer and UBSan (clang only).
# The target compiles the journal's sources itself, so it does not depend on how zu_core is
# built. A short run is a test; a longer one by hand, from the build tree:
#   mkdir -p ulog-corpus && tests/fuzz/ulog_read_fuzz -max_total_time=600 ulog-corpus <source>/tests/fuzz/ulog_corpus
# (new inputs go to the first folder; the seeds in the source tree are only read).
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND NOT WIN32)
  set(zu_ulog_fuzz_sanitizers -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_executable(ulog_read_fuzz
    "${CMAKE_CURRENT_LIST_DIR}/ulog_read_fuzz.cpp"
    "${CMAKE_SOURCE_DIR}/src/system/uninstall_log.cpp"
    "${CMAKE_SOURCE_DIR}/src/system/uninstall_log_file.cpp"
    "${CMAKE_SOURCE_DIR}/src/system/journal_platform_posix.cpp"
    "${CMAKE_SOURCE_DIR}/src/system/registry_double_posix.cpp")
  target_include_directories(ulog_read_fuzz PRIVATE "${CMAKE_SOURCE_DIR}/src")
  target_compile_options(ulog_read_fuzz PRIVATE ${zu_ulog_fuzz_sanitizers})
  target_link_options(ulog_read_fuzz PRIVATE ${zu_ulog_fuzz_sanitizers})

  set(zu_ulog_fuzz_work "${CMAKE_CURRENT_BINARY_DIR}/ulog-corpus")
  file(MAKE_DIRECTORY "${zu_ulog_fuzz_work}")
  add_test(NAME fuzz.ulog_read_short
    COMMAND ulog_read_fuzz -max_total_time=30 -timeout=10 -rss_limit_mb=1024
            "${zu_ulog_fuzz_work}" "${CMAKE_CURRENT_LIST_DIR}/ulog_corpus")
endif()
