# Proves one exercise folder of the course kit (EXERCISE, an absolute path):
#   - its model solution loesung/*.awl passes test.sps (exit status 0),
#   - its starting point, the folder's own *.awl, loads and fails it (1),
#   - test.sps loads no program itself and puts an echo line, the
#     learner's explanation, before every check (expect, until),
#   - every operand that aufgabe.md names in its text and tables occurs in
#     test.sps, or is the input of a switch it operates (code spans in
#     backticks show instruction syntax and are not counted), and the
#     picture aufgabe.md shows lies beside it.
# SPSRUN is the runner; the outputs are kept in WORK_DIR/NAME.*.
cmake_minimum_required(VERSION 3.25)

get_filename_component(name ${EXERCISE} NAME)
set(test_script ${EXERCISE}/test.sps)
set(failures)
foreach(required aufgabe.md vorlage.awl test.sps)
  if(NOT EXISTS ${EXERCISE}/${required})
    list(APPEND failures "${name} has no ${required}")
  endif()
endforeach()
file(GLOB solutions ${EXERCISE}/loesung/*.awl)
if(NOT solutions)
  list(APPEND failures "${name} has no model solution loesung/*.awl")
endif()
if(failures)
  list(JOIN failures "\n" message)
  message(FATAL_ERROR "${message}")
endif()
file(MAKE_DIRECTORY ${WORK_DIR})

# Grades every *.awl of FOLDER with test.sps (spsrun grade); its exit status
# lands in the variable named by STATUS_VAR. A program that does not load
# counts as status 2: a starting point must load.
function(grade_folder folder label status_var)
  execute_process(COMMAND ${SPSRUN} grade ${folder} --test ${test_script} --timeout 120
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  file(WRITE ${WORK_DIR}/${name}.${label}.out "${out}${err}")
  if(out MATCHES "lädt nicht: ")
    set(status 2)
    string(REGEX MATCH "lädt nicht: [^\n]*" error_line "${out}")
    message(STATUS "${folder}: ${error_line}")
  endif()
  set(${status_var} ${status} PARENT_SCOPE)
endfunction()

grade_folder(${EXERCISE}/loesung solution solution_status)
if(NOT solution_status STREQUAL "0")
  list(APPEND failures
       "the model solution does not pass test.sps: status ${solution_status} (output in ${WORK_DIR}/${name}.solution.*)")
endif()
grade_folder(${EXERCISE} template template_status)
if(NOT template_status STREQUAL "1")
  list(APPEND failures
       "the starting point must load and fail test.sps with status 1, not ${template_status} (output in ${WORK_DIR}/${name}.template.*)")
endif()

# The test script: no program of its own, an explanation before each check.
file(STRINGS ${test_script} lines ENCODING UTF-8)
set(previous "")
set(line_number 0)
foreach(line IN LISTS lines)
  math(EXPR line_number "${line_number} + 1")
  string(REGEX REPLACE "(^|[ \t])#.*" "" command "${line}")
  string(STRIP "${command}" command)
  if(command STREQUAL "")
    continue()
  endif()
  if(command MATCHES "^load([ \t]|$)")
    list(APPEND failures "test.sps line ${line_number} loads a program: the program under test is loaded before it runs")
  endif()
  if(command MATCHES "^(expect|until)[ \t]" AND NOT previous MATCHES "^echo[ \t]")
    list(APPEND failures "test.sps line ${line_number}: the check '${command}' has no echo line before it that says what is expected")
  endif()
  set(previous "${command}")
endforeach()

# The operands of a text: its words in the program's operand syntax, with
# code spans removed.
function(operands_of text result_var)
  string(REGEX REPLACE "`[^`\n]*`" " " text "${text}")
  string(REGEX MATCHALL "[A-Za-z0-9.]+" words "${text}")
  set(found)
  foreach(word IN LISTS words)
    string(REGEX REPLACE "\\.+$" "" word "${word}")
    if(word MATCHES "^(E|A|M|V|S|SM)[0-9]+\\.[0-7]$"
       OR word MATCHES "^(EB|AB|MB|VB|SB|SMB|EW|AW|MW|VW|SW|SMW|AEW|AAW|ED|AD|MD|VD|SD|SMD)[0-9]+$"
       OR word MATCHES "^(T|Z|AC)[0-9]+$")
      list(APPEND found ${word})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES found)
  set(${result_var} ${found} PARENT_SCOPE)
endfunction()

file(READ ${EXERCISE}/aufgabe.md task_text)
file(READ ${test_script} test_text)
operands_of("${task_text}" named)
# A comment uses no operand.
string(REGEX REPLACE "(^|[ \t\n])#[^\n]*" "\\1" test_text "${test_text}")
string(REGEX MATCHALL "[A-Za-z0-9.]+" test_words "${test_text}")
list(TRANSFORM test_words REPLACE "\\.+$" "")
# "switch K" operates switch K, which the program reads as E0.K.
string(REGEX MATCHALL "(^|\n)switch[ \t]+[0-7]" switch_lines "${test_text}")
foreach(switch_line IN LISTS switch_lines)
  string(REGEX REPLACE ".*([0-7])$" "E0.\\1" input "${switch_line}")
  list(APPEND test_words ${input})
endforeach()
foreach(operand IN LISTS named)
  if(NOT operand IN_LIST test_words)
    list(APPEND failures "aufgabe.md names ${operand}, which test.sps never uses")
  endif()
endforeach()

string(REGEX MATCHALL "!\\[[^]]*\\]\\(([^)]+)\\)" pictures "${task_text}")
if(NOT pictures)
  list(APPEND failures "aufgabe.md shows no picture of the station")
endif()
foreach(picture IN LISTS pictures)
  string(REGEX REPLACE ".*\\(([^)]+)\\)$" "\\1" file "${picture}")
  if(NOT EXISTS ${EXERCISE}/${file})
    list(APPEND failures "aufgabe.md shows ${file}, which is not in the folder")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n" message)
  message(FATAL_ERROR "${name}:\n${message}")
endif()
message(STATUS "${name}: the model solution passes (${solution_status}), the starting point fails (${template_status})")
