# Results that cannot be written fail the run: standard output on a full disk
# (/dev/full) or closed, and a JUnit report that cannot be written, each give
# a line on standard error and exit status 2, so that a CI job never passes
# on output nobody got. Nothing to write is no failure.
cmake_minimum_required(VERSION 3.25)

set(failures)
# run(NAME EXPECTED_STATUS EXPECTED_ERROR COMMAND...)
function(run name expected_status expected_err)
  execute_process(COMMAND ${ARGN} OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status STREQUAL expected_status OR NOT err STREQUAL expected_err)
    set(failures "${failures}\n${name}: exit status ${status}, standard error '${err}'; expected ${expected_status}, '${expected_err}'"
        PARENT_SCOPE)
  endif()
endfunction()

set(unwritable "spsrun: cannot write to standard output\n")
run("report on a full disk" 2 "${unwritable}" bash -c "exec '${SPSRUN}' suite/passes.sps >/dev/full")
run("version on a full disk" 2 "${unwritable}" bash -c "exec '${SPSRUN}' --version >/dev/full")
run("report to a closed standard output" 2 "${unwritable}" bash -c "exec '${SPSRUN}' suite/passes.sps >&-")
run("nothing to write" 0 "" bash -c "exec '${SPSRUN}' - </dev/null >/dev/full")
run("JUnit report on a full disk" 2 "spsrun: cannot write the report '/dev/full'\n"
    ${SPSRUN} --junit /dev/full suite/passes.sps)
# With standard output closed, the report file must not take its descriptor.
set(report ${ACTUAL_DIR}/unwritable_output.xml)
file(REMOVE ${report})
run("JUnit report beside a closed standard output" 2 "${unwritable}"
    bash -c "exec '${SPSRUN}' --junit '${report}' suite/passes.sps >&-")
file(READ ${report} xml)
if(NOT xml MATCHES "^<\\?xml[^\n]*\n<testsuites" OR xml MATCHES "2 cases, 2 passed")
  set(failures "${failures}\nthe report beside a closed standard output holds other text:\n${xml}")
endif()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
