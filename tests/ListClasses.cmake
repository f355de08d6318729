# Run after a test executable is linked (see ClassTests.cmake): asks it for
# its test classes and writes the CTest file that registers one test each.
include(${ARGS_FILE})
execute_process(COMMAND ${EXE} --list-classes
  OUTPUT_VARIABLE listing RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${EXE} --list-classes failed (${result}): ${errors}")
endif()
string(REGEX REPLACE "\r?\n" ";" classes "${listing}")
set(content "")
foreach(class IN LISTS classes)
  if(class STREQUAL "")
    continue()
  endif()
  set(name "${LABEL}.${class}")
  string(APPEND content
"add_test([==[${name}]==] [==[${EXE}]==] [==[${class}]==])
set_tests_properties([==[${name}]==] PROPERTIES LABELS [==[${LABEL}]==] SKIP_RETURN_CODE 77 TIMEOUT ${TIMEOUT} ENVIRONMENT [==[${ENVIRONMENT}]==])
")
endforeach()
# Rewritten only when the classes changed, so CTest's file stays put otherwise.
file(WRITE ${OUT}.new "${content}")
file(COPY_FILE ${OUT}.new ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.new)
