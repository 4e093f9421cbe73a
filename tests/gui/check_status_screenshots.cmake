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

execute_process(COMMAND ${SPSSIM} --manual-clock --steps 20 --record SM0.5,AB0 --run 3000 --open trace,kop,asi,cpu,trend
                        --screenshot ${shots}/blink.png ${EXAMPLES_DIR}/blink.awl
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}, expected 0:\n${errors}")
endif()
foreach(name blink blink-kop blink-asi blink-cpu blink-trace blink-trend)
  expect_png(${shots}/${name}.png)
endforeach()

# An operand that cannot be recorded is an error box, so the picture run fails.
execute_process(COMMAND ${SPSSIM} --record VB5000 --open trend --screenshot ${shots}/bad.png ${EXAMPLES_DIR}/blink.awl
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 1 OR NOT errors MATCHES "Fehler: VB5000: ")
  message(FATAL_ERROR "exit status ${status}, expected 1 with the error of VB5000:\n${errors}")
endif()
