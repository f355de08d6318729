# vexolan_add_class_tests(<target> <label> TIMEOUT <seconds> ENVIRONMENT <list>)
#
# Registers every test class of a test executable as a CTest test of its own,
# <label>.<Class>, run as `<target> <Class>`, labelled <label>.  The classes
# are listed by the executable itself (--list-classes) after each link, into
# a file CTest includes; a class that skips every case exits with 77 and
# shows as skipped.  Until the executable is built, one test
# <label>.NOT_BUILT stands in for its classes and fails.
set(VEXOLAN_LIST_CLASSES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/ListClasses.cmake)

function(vexolan_add_class_tests target label)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "TIMEOUT" "ENVIRONMENT")
  set(base ${CMAKE_CURRENT_BINARY_DIR}/${target})
  # QTest's watchdog stops a single case a few seconds before CTest stops
  # the class, so the log names the case that hung.
  math(EXPR case_ms "(${arg_TIMEOUT} - 5) * 1000")
  set(environment ${arg_ENVIRONMENT} QTEST_FUNCTION_TIMEOUT=${case_ms})
  file(GENERATE OUTPUT ${base}_classes_args.cmake CONTENT
"set(EXE [==[$<TARGET_FILE:${target}>]==])
set(LABEL [==[${label}]==])
set(TIMEOUT [==[${arg_TIMEOUT}]==])
set(ENVIRONMENT [==[${environment}]==])
set(OUT [==[${base}_classes.cmake]==])
")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -D ARGS_FILE=${base}_classes_args.cmake -P ${VEXOLAN_LIST_CLASSES_SCRIPT}
    BYPRODUCTS ${base}_classes.cmake
    VERBATIM)
  file(WRITE ${base}_include.cmake
"if(EXISTS [==[${base}_classes.cmake]==])
  include([==[${base}_classes.cmake]==])
else()
  add_test([==[${label}.NOT_BUILT]==] [==[${label}.NOT_BUILT]==])
  set_tests_properties([==[${label}.NOT_BUILT]==] PROPERTIES LABELS [==[${label}]==])
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${base}_include.cmake)
endfunction()
