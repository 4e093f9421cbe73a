# The JUnit report of a run with passed and failed cases, invalid lines, a
# script that cannot be opened, a timeout and texts that XML must escape or
# cannot hold: xmllint must find it well-formed, and its counts, names and
# texts must be those of the run.
cmake_minimum_required(VERSION 3.25)

find_program(XMLLINT xmllint)
if(NOT XMLLINT)
  message(FATAL_ERROR "xmllint is missing (package libxml2-utils): run scripts/install-deps.sh")
endif()

set(report ${ACTUAL_DIR}/junit_report.xml)
file(REMOVE ${report})
execute_process(COMMAND ${SPSRUN} --timeout 1 --junit ${report} suite/hangs.sps cases.sps suite/invalid.sps
                        suite/no_such_script.sps suite/special_texts.sps suite/passes.sps
                OUTPUT_QUIET ERROR_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "exit status ${status}, expected 2")
endif()

execute_process(COMMAND ${XMLLINT} --noout ${report} RESULT_VARIABLE wellformed ERROR_VARIABLE complaint)
if(NOT wellformed EQUAL 0)
  message(FATAL_ERROR "the report ${report} is not well-formed:\n${complaint}")
endif()

set(failures)
function(expect_xpath query expected)
  execute_process(COMMAND ${XMLLINT} --xpath ${query} ${report} OUTPUT_VARIABLE actual ERROR_QUIET)
  string(REGEX REPLACE "\n$" "" actual "${actual}")
  if(NOT actual STREQUAL expected)
    set(failures "${failures}\n${query}: '${actual}', expected '${expected}'" PARENT_SCOPE)
  endif()
endfunction()

# The counts, in total, per suite and as elements.
expect_xpath("string(/testsuites/@tests)" 12)
expect_xpath("string(/testsuites/@failures)" 3)
expect_xpath("string(/testsuites/@errors)" 3)
expect_xpath("count(/testsuites/testsuite)" 6)
expect_xpath("count(//testcase)" 12)
expect_xpath("sum(//testsuite/@tests)" 12)
expect_xpath("sum(//testsuite/@failures)" 3)
expect_xpath("sum(//testsuite/@errors)" 3)
expect_xpath("count(//testcase[failure])" 3)
expect_xpath("count(//testcase[error])" 3)
expect_xpath("count(//testcase[@classname != ../@name])" 0)
expect_xpath("string(/testsuites/testsuite[2]/@name)" cases.sps)
expect_xpath("string(/testsuites/testsuite[2]/@failures)" 2)

# The timeout, the invalid line and the script that cannot be opened.
expect_xpath("string(//testcase[error/@type='timeout']/@name)" endless)
expect_xpath("string(//error[@type='timeout']/@message)" "timeout after 1 s")
expect_xpath("string(//error[@type='invalid line']/@message)"
             "line 3: switch: K must be a number from 0 to 7, not '9' (usage: switch K [0|1])")
expect_xpath("string(//testsuite[@name='suite/no_such_script.sps']/testcase/error/@message)"
             "cannot open the script 'suite/no_such_script.sps'")

# Markup, quotes, umlauts, a control character and a byte that is not UTF-8.
expect_xpath([=[count(//testcase[@name='Grün & <Gelb> "Rot" schalten'])]=] 1)
expect_xpath("string(//testcase[starts-with(@name,'Sonderzeichen')]/@name)" "Sonderzeichen � <&>")
expect_xpath("string(//testcase[starts-with(@name,'Sonderzeichen')]/failure/@message)"
             "expect failed (line 6): VB5000 cannot be read: Es wurde beim Lesen der zulässige Bereich überschritten")
expect_xpath("string(//testcase[starts-with(@name,'Sonderzeichen')]/system-out)" [=[<b>&amp;</b> "quoted" 'single' ]]> � Stra�e
Fehler: Es wurde beim Lesen der zulässige Bereich überschritten
Fehler: Es wurde beim Lesen der zulässige Bereich überschritten
]=])

if(failures)
  message(FATAL_ERROR "the report ${report} differs:${failures}")
endif()
