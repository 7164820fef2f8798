# Runs the validator on a fixture plug-in with one fault and passes when the
# run fails and the check meant to catch that fault failed or crashed.
#   cmake -DRUNNER=... -DMODULE=... -DCHECK=group.name [-DEMULATOR=...] -P expectFailure.cmake
# EMULATOR runs a cross-built RUNNER (Windows builds: the Wine runner).
execute_process(COMMAND ${EMULATOR} ${RUNNER} validate ${MODULE} --only ${CHECK}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("${output}")
if(status EQUAL 0)
  message(FATAL_ERROR "validate passed a plug-in with a fault that ${CHECK} should catch")
endif()
string(REGEX MATCH "${CHECK} +(FAIL|CRASH)" caught "${output}")
if(NOT caught)
  message(FATAL_ERROR "validate failed, but not in ${CHECK} (status ${status})\n${errors}")
endif()
