# Runs the random sessions on a fixture plug-in with one fault and passes when
# validate shrinks the failing session to a session file of at most
# MAX_STEPS steps that pello-host run fails on the fixture (with exit status
# STATUS) and passes on the real plug-in.
# The session file goes to the folder ARTIFACTS (made by validate).
#   cmake -DRUNNER=... -DMODULE=... -DREAL=... -DSEED=N -DSTEPS=N -DMAX_STEPS=N -DSTATUS=N -DARTIFACTS=DIR
#         -P expectShrunk.cmake
file(REMOVE_RECURSE "${ARTIFACTS}")
execute_process(COMMAND ${RUNNER} validate ${MODULE} --only random.sessions --seed ${SEED} --steps ${STEPS}
                        --verbose --artifacts ${ARTIFACTS}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("${output}")
if(status EQUAL 0)
  message(FATAL_ERROR "validate passed a plug-in with a fault that the random sessions should catch")
endif()
string(REGEX MATCH "pello-host run ([^ \n]+\\.session\\.json)" found "${output}")
if(NOT found)
  message(FATAL_ERROR "validate wrote no shrunk session (status ${status})\n${errors}")
endif()
set(session "${CMAKE_MATCH_1}")
cmake_path(GET session PARENT_PATH folder)
if(NOT folder STREQUAL ARTIFACTS)
  message(FATAL_ERROR "the shrunk session ${session} is not in --artifacts ${ARTIFACTS}")
endif()
file(READ "${session}" text)
string(JSON steps LENGTH "${text}" steps)
message("shrunk session ${session}: ${steps} steps")
if(steps GREATER MAX_STEPS)
  message(FATAL_ERROR "the shrunk session has ${steps} steps, more than ${MAX_STEPS}")
endif()
execute_process(COMMAND ${RUNNER} run ${session} --plugin ${MODULE}
                RESULT_VARIABLE fixtureStatus OUTPUT_VARIABLE fixtureOutput ERROR_VARIABLE fixtureErrors)
# A crash (4) ends with the sanitizer's own report (UBSan: "runtime error") and status 1 in a
# sanitizer build.
if(STATUS EQUAL 4 AND fixtureStatus EQUAL 1 AND fixtureErrors MATCHES "Sanitizer|runtime error")
  set(fixtureStatus 4)
endif()
if(NOT fixtureStatus EQUAL STATUS)
  message(FATAL_ERROR "pello-host run on the fixture exited ${fixtureStatus}, not ${STATUS}\n"
                      "${fixtureOutput}\n${fixtureErrors}")
endif()
execute_process(COMMAND ${RUNNER} run ${session} --plugin ${REAL}
                RESULT_VARIABLE realStatus OUTPUT_VARIABLE realOutput ERROR_VARIABLE realErrors)
if(NOT realStatus EQUAL 0)
  message(FATAL_ERROR "pello-host run on the real plug-in exited ${realStatus}, not 0\n${realOutput}\n${realErrors}")
endif()
file(REMOVE "${session}")
