# A script stuck where spsrun cannot stop it between lines or steps, here
# reading standard input that stays open and never delivers (a named pipe
# that spsrun's own shell holds open for writing): --timeout still ends the
# run, with the complaint of a timeout after the output so far and exit
# status 2.
cmake_minimum_required(VERSION 3.25)

set(pipe ${ACTUAL_DIR}/stuck_timeout.pipe)
file(REMOVE ${pipe})
execute_process(COMMAND mkfifo ${pipe} RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "mkfifo ${pipe} failed")
endif()
# Opened for reading and writing, the pipe opens at once and never ends.
execute_process(COMMAND bash -c "exec 3<>'${pipe}'; echo 'echo vorher' >&3; exec '${SPSRUN}' --timeout 1 - <&3"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
file(REMOVE ${pipe})

set(failures)
if(NOT status EQUAL 2)
  list(APPEND failures "exit status ${status}, expected 2")
endif()
if(NOT out STREQUAL "vorher\n")
  list(APPEND failures "standard output '${out}', expected 'vorher\\n'")
endif()
if(NOT err STREQUAL "spsrun: line 2: timeout after 1 s\n")
  list(APPEND failures "standard error '${err}', expected the timeout of line 2")
endif()
if(failures)
  list(JOIN failures "\n" message)
  message(FATAL_ERROR "${message}")
endif()
