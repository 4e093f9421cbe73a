# Runs CHECK on the broken exercise EXERCISE: it must fail and name each of
# the faults the exercise was made with.
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${CMAKE_COMMAND} -DSPSRUN=${SPSRUN} -DEXERCISE=${EXERCISE} -DWORK_DIR=${WORK_DIR} -P ${CHECK}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
# The messages are wrapped at the width of a line: compare them as one line.
string(REGEX REPLACE "[ \t\n]+" " " report "${out}${err}")
set(missing)
if(status EQUAL 0)
  list(APPEND missing "the check passed")
endif()
foreach(fault IN ITEMS "line 4 loads a program" "line 7: the check 'expect A0.0 1' has no echo line"
                       "aufgabe.md names A0.5, which test.sps never uses" "aufgabe.md shows no picture")
  string(FIND "${report}" "${fault}" at)
  if(at EQUAL -1)
    list(APPEND missing "no '${fault}'")
  endif()
endforeach()
string(FIND "${report}" "names E0.0" at)
if(NOT at EQUAL -1)
  list(APPEND missing "E0.0 is the input of switch 0, which the test operates, yet it is reported")
endif()
if(missing)
  list(JOIN missing "\n" message)
  message(FATAL_ERROR "${message}\n${out}${err}")
endif()
