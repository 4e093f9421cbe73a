# spssim --open with --screenshot: a picture of the main window and one of
# each status window beside it.
cmake_minimum_required(VERSION 3.25)

set(shots ${WORK_DIR}/status_screenshots)
file(REMOVE_RECURSE ${shots})
file(MAKE_DIRECTORY ${shots})

function(expect_png path)
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "no picture ${path}")
  endif()
  file(READ ${path} signature LIMIT 8 HEX)
  if(NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "${path} is not a PNG file")
  endif()
endfunction()

# The watch window shows the rows kept for the program, from settings of this
# test's own (the user's stay untouched).
set(ENV{XDG_CONFIG_HOME} ${shots}/config)
file(REAL_PATH ${EXAMPLES_DIR}/blink.awl program)
file(WRITE ${shots}/config/spssim/spssim.conf
     "[watch]\n"
     "tables\\size=1\n"
     "tables\\1\\program=${program}\n"
     "tables\\1\\rows\\size=4\n"
     "tables\\1\\rows\\1\\operand=E0.7\n"
     "tables\\1\\rows\\1\\condition=steigt\n"
     "tables\\1\\rows\\2\\operand=SM0.5\n"
     "tables\\1\\rows\\2\\record=true\n"
     "tables\\1\\rows\\3\\operand=AB0\n"
     "tables\\1\\rows\\3\\format=Hex\n"
     "tables\\1\\rows\\3\\value=16#0F\n"
     "tables\\1\\rows\\4\\operand=MW4\n"
     "tables\\1\\rows\\4\\condition=> 100\n")

execute_process(COMMAND ${SPSSIM} --manual-clock --steps 20 --record SM0.5,AB0 --run 3000
                        --open trace,kop,asi,cpu,watch,trend --screenshot ${shots}/blink.png ${EXAMPLES_DIR}/blink.awl
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}, expected 0:\n${errors}")
endif()
foreach(name blink blink-kop blink-asi blink-cpu blink-trace blink-watch blink-trend)
  expect_png(${shots}/${name}.png)
endforeach()

# An operand that cannot be recorded is an error box, so the picture run fails.
execute_process(COMMAND ${SPSSIM} --record VB5000 --open trend --screenshot ${shots}/bad.png ${EXAMPLES_DIR}/blink.awl
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 1 OR NOT errors MATCHES "Fehler: VB5000: ")
  message(FATAL_ERROR "exit status ${status}, expected 1 with the error of VB5000:\n${errors}")
endif()
