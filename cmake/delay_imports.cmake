# Delay-import libraries for the system libraries that are not on the KnownDLLs list. Imported
# the ordinary way, such a library is loaded before the program's first instruction and may be
# taken from the program's own folder; delay-loaded, it is loaded on first use, after the
# program has restricted the search to the system folder.
#
# The export list of each is read from the toolchain's own import library, and dlltool makes
# the delay-import library from it at configure time. Sets ZU_DELAY_IMPORT_LIBS.
if(NOT WIN32)
  return()
endif()

if(NOT CMAKE_NM)
  find_program(CMAKE_NM NAMES x86_64-w64-mingw32-nm REQUIRED)
endif()
find_program(ZU_DLLTOOL NAMES x86_64-w64-mingw32-dlltool dlltool REQUIRED)
set(ZU_DELAY_IMPORT_LIBS "")
set(delay_dir "${CMAKE_BINARY_DIR}/delay-imports")
file(MAKE_DIRECTORY "${delay_dir}")
foreach(library IN ITEMS version comctl32 bcrypt)
  execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=lib${library}.a
    OUTPUT_VARIABLE import_library OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND "${CMAKE_NM}" -g --defined-only "${import_library}"
    OUTPUT_VARIABLE symbols RESULT_VARIABLE nm_result)
  if(NOT nm_result EQUAL 0)
    message(FATAL_ERROR "cannot read the import library ${import_library}")
  endif()
  string(REGEX MATCHALL "__imp_[A-Za-z0-9_@]+" imports "${symbols}")
  list(REMOVE_DUPLICATES imports)
  set(def "LIBRARY ${library}.dll\nEXPORTS\n")
  foreach(import IN LISTS imports)
    string(REGEX REPLACE "^__imp_" "" name "${import}")
    string(APPEND def "  ${name}\n")
  endforeach()
  file(WRITE "${delay_dir}/${library}.def" "${def}")
  set(delay_library "${delay_dir}/lib${library}_delay.a")
  execute_process(COMMAND "${ZU_DLLTOOL}" --input-def "${delay_dir}/${library}.def"
    --output-delaylib "${delay_library}" RESULT_VARIABLE dlltool_result)
  if(NOT dlltool_result EQUAL 0)
    message(FATAL_ERROR "dlltool could not make ${delay_library}")
  endif()
  list(APPEND ZU_DELAY_IMPORT_LIBS "${delay_library}")
endforeach()
# The helper that loads a library on its first call.
list(APPEND ZU_DELAY_IMPORT_LIBS delayimp)
