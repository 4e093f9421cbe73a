# examples/carrier_faults_test.sps graded with --junit, run from the examples
# folder: every case breaks one part of the station and carrier_faults.awl
# reacts safely in each, so the run passes and the report counts no failure.
cmake_minimum_required(VERSION 3.25)

set(report ${ACTUAL_DIR}/carrier_faults_report.xml)
file(REMOVE ${report})
execute_process(COMMAND ${SPSRUN} --junit ${report} carrier_faults_test.sps
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}, expected 0\n${output}${errors}")
endif()
file(READ ${report} xml)
foreach(expected [[tests="8" failures="0" errors="0"]] [[name="Slave 6 ausgefallen]] [[name="Taste2 prellt]])
  string(FIND "${xml}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the report ${report} lacks ${expected}")
  endif()
endforeach()
