# One row of the bad-input group where Python cannot run the host (Windows
# builds, under Wine): runs HOST with ARGS (separated by "|"; @WORK@ stands for a work
# folder made afresh with the files the rows name) and passes when it exits
# STATUS, its output holds TEXT, and it neither aborted nor ended on a signal.
#   cmake -DHOST=... -DWORK=... -DDOCUMENT=... -DSTATUS=n -DTEXT=... -DARGS=a|b
#         [-DEMULATOR=...] -P expectRefusal.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY_FILE ${DOCUMENT} ${WORK}/document.json)
file(WRITE ${WORK}/session.json "{\"document\": \"document.json\", \"steps\": []}")
file(WRITE ${WORK}/empty.json "")
file(WRITE ${WORK}/number.json "42")
file(WRITE ${WORK}/prefs.json "{ not json")
file(WRITE ${WORK}/huge.json "{\"document\": {\"art\": [{\"id\": \"p1\", \"type\": \"path\", \"matrix\": [1e999, 0, 0, 1, 0, 0]}]}, \"steps\": []}")
file(WRITE ${WORK}/fault.json
     "{\"document\": \"document.json\", \"steps\": [{\"do\": \"fail\", \"op\": \"AIPathStyle::SetPathStile\", \"code\": 5, \"call\": 1}]}")
file(WRITE ${WORK}/style.json
     "{\"document\": \"document.json\", \"steps\": [{\"do\": \"expectStyle\", \"art\": \"p1\", \"field\": \"stroke.dash.ofset\", \"value\": 1}]}")
file(WRITE ${WORK}/start.json "{\"document\": \"document.json\", \"steps\": [{\"do\": \"startup\"}]}")
# 5,000 nested groups, and art 100 levels deep (the most a document may hold).
string(REPEAT "{\"id\": \"g\", \"type\": \"group\", \"children\": [" 5000 open)
string(REPEAT "]}" 5000 close)
file(WRITE ${WORK}/deep.json "{\"art\": [${open}${close}]}")
set(open "")
foreach(level RANGE 1 99)
  string(APPEND open "{\"id\": \"g${level}\", \"type\": \"group\", \"children\": [")
endforeach()
string(REPEAT "]}" 99 close)
file(WRITE ${WORK}/limit.json
     "{\"art\": [${open}{\"id\": \"p1\", \"type\": \"path\", \"rectangle\": [0, 0, 9, 9]}${close}]}")

string(REPLACE "|" ";" args "${ARGS}")
string(REPLACE "@WORK@" "${WORK}" args "${args}")
execute_process(COMMAND ${EMULATOR} ${HOST} ${args} WORKING_DIRECTORY ${WORK} TIMEOUT 120
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
set(said "${output}${errors}")
message("${status}  pello-host ${args}\n${said}")
string(REPLACE "@WORK@" "${WORK}" text "${TEXT}")
if(NOT status MATCHES "^[0-9]+$" OR (status GREATER 128 AND status LESS_EQUAL 192))
  message(FATAL_ERROR "pello-host ${args} ended on a signal or did not end: ${status}")
endif()
if(said MATCHES "terminate called")
  message(FATAL_ERROR "pello-host ${args} aborted")
endif()
if(NOT status EQUAL STATUS)
  message(FATAL_ERROR "pello-host ${args} exited ${status}, not ${STATUS}")
endif()
string(FIND "${said}" "${text}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "pello-host ${args}: the message does not hold \"${text}\"")
endif()
if(EXPECT_FILE AND NOT EXISTS ${WORK}/${EXPECT_FILE})
  message(FATAL_ERROR "pello-host ${args} left no ${EXPECT_FILE}")
endif()
