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

execute_process(COMMAND ${SPSSIM} --manual-clock --steps 20 --open trace,kop,asi,cpu --screenshot ${shots}/blink.png
                        ${EXAMPLES_DIR}/blink.awl
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}, expected 0:\n${errors}")
endif()
foreach(name blink blink-kop blink-asi blink-cpu blink-trace)
  expect_png(${shots}/${name}.png)
endforeach()
