# Runs the scenario NAME: spsrun on NAME.sps in the current directory, then
# compares standard output with NAME.out, standard error with NAME.err (only
# when that file exists) and the exit status with the expected one. What was
# actually printed is kept in ACTUAL_DIR/NAME.out (and .err) for a look.
#
# The script's first line may be a header that changes how it is run:
#   # run: status=N args=A,B,... dir=D stdin
# status=N  the expected exit status (default 0)
# args=...  the command-line arguments, comma-separated, "%" standing for the
#           script's file name (default: just the script's file name)
# dir=D     spsrun runs in the folder D (relative to this one) instead
# stdin     the script is also fed to standard input
cmake_minimum_required(VERSION 3.25)

set(script ${NAME}.sps)
file(STRINGS ${script} header LIMIT_COUNT 1 REGEX "^# run:")

set(expected_status 0)
set(arguments ${script})
set(input_option)
set(work_dir ${CMAKE_CURRENT_SOURCE_DIR})
if(header)
  file(READ ${script} first_line LIMIT 400)
  string(REGEX REPLACE "\n.*" "" first_line "${first_line}")
  if(first_line MATCHES "^# run:")
    if(first_line MATCHES "status=([0-9]+)")
      set(expected_status ${CMAKE_MATCH_1})
    endif()
    if(first_line MATCHES "args=([^ ]*)")
      string(REPLACE "," ";" arguments "${CMAKE_MATCH_1}")
      list(TRANSFORM arguments REPLACE "^%$" "${script}")
    endif()
    if(first_line MATCHES "dir=([^ ]*)")
      get_filename_component(work_dir ${CMAKE_MATCH_1} ABSOLUTE)
    endif()
    if(first_line MATCHES " stdin( |$)")
      set(input_option INPUT_FILE ${CMAKE_CURRENT_SOURCE_DIR}/${script})
    endif()
  endif()
endif()

execute_process(COMMAND ${SPSRUN} ${arguments} ${input_option} WORKING_DIRECTORY ${work_dir}
                OUTPUT_VARIABLE actual_out ERROR_VARIABLE actual_err RESULT_VARIABLE actual_status)
file(WRITE ${ACTUAL_DIR}/${NAME}.out "${actual_out}")
file(WRITE ${ACTUAL_DIR}/${NAME}.err "${actual_err}")

set(failures)
file(READ ${NAME}.out expected_out)
if(NOT actual_out STREQUAL expected_out)
  list(APPEND failures "standard output differs from ${NAME}.out (actual: ${ACTUAL_DIR}/${NAME}.out)")
endif()
if(EXISTS ${NAME}.err)
  file(READ ${NAME}.err expected_err)
  if(NOT actual_err STREQUAL expected_err)
    list(APPEND failures "standard error differs from ${NAME}.err (actual: ${ACTUAL_DIR}/${NAME}.err)")
  endif()
endif()
if(NOT actual_status STREQUAL expected_status)
  list(APPEND failures "exit status ${actual_status}, expected ${expected_status}")
endif()

if(failures)
  execute_process(COMMAND diff -u ${NAME}.out ${ACTUAL_DIR}/${NAME}.out)
  if(EXISTS ${NAME}.err)
    execute_process(COMMAND diff -u ${NAME}.err ${ACTUAL_DIR}/${NAME}.err)
  endif()
  list(JOIN failures "\n" message)
  message(FATAL_ERROR "${message}\nstandard error:\n${actual_err}")
endif()
