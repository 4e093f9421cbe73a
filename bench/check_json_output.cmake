# Runs one benchmark program briefly with --benchmark_format=json and checks
# that its standard output is the library's JSON report, that every run in it
# ran without error, and, where EXPECT_NOTE is given, that standard error
# carries that note (the ratios of bench_scan).
#
#   cmake -DBENCH=PROGRAM -DFILTER=REGEX [-DEXPECT_NOTE=TEXT] -P check_json_output.cmake
execute_process(COMMAND ${BENCH} --benchmark_format=json --benchmark_filter=${FILTER} --benchmark_min_time=0.001
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${BENCH} ended with ${status}:\n${err}")
endif()
string(JSON runs ERROR_VARIABLE problem LENGTH "${out}" benchmarks)
if(problem)
  message(FATAL_ERROR "the standard output of ${BENCH} is no JSON report (${problem}):\n${out}")
endif()
if(runs EQUAL 0)
  message(FATAL_ERROR "${BENCH} ran no benchmark matching ${FILTER}")
endif()
math(EXPR last "${runs} - 1")
foreach(i RANGE ${last})
  string(JSON name GET "${out}" benchmarks ${i} name)
  string(JSON failed ERROR_VARIABLE none GET "${out}" benchmarks ${i} error_occurred)
  if(failed)
    string(JSON why GET "${out}" benchmarks ${i} error_message)
    message(FATAL_ERROR "${name}: ${why}")
  endif()
endforeach()
if(DEFINED EXPECT_NOTE)
  string(FIND "${err}" "${EXPECT_NOTE}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the standard error of ${BENCH} lacks \"${EXPECT_NOTE}\":\n${err}")
  endif()
endif()
message(STATUS "${runs} runs of ${BENCH} in JSON")
