# The bad-input group in the Windows builds: the rows of check_bad_inputs.py
# that do not need the build machine's files (pipes, devices, /proc), each run
# under the emulator by expectRefusal.cmake. Included by CMakeLists.txt.

# pello_bad_input(CLASS STATUS TEXT ARGS...): a test badinput.CLASS that runs
# pello-host ARGS and expects STATUS and TEXT (@WORK@: its work folder).
function(pello_bad_input class status text)
  cmake_parse_arguments(PARSE_ARGV 3 row "" "EXPECT_FILE" "")
  # "|" between the arguments: a list would be split into arguments of the test.
  string(REPLACE ";" "|" args "${row_UNPARSED_ARGUMENTS}")
  add_test(NAME badinput.${class}
           COMMAND ${CMAKE_COMMAND} -DHOST=$<TARGET_FILE:pello-host> "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
                   -DWORK=${CMAKE_CURRENT_BINARY_DIR}/badinput/${class}
                   -DDOCUMENT=${PROJECT_SOURCE_DIR}/examples/failures/document.json -DSTATUS=${status}
                   "-DTEXT=${text}" "-DARGS=${args}" -DEXPECT_FILE=${row_EXPECT_FILE}
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/expectRefusal.cmake)
  set_tests_properties(badinput.${class} PROPERTIES LABELS "cli;badinput;windows" TIMEOUT 300)
endfunction()

set(_plugin $<TARGET_FILE:PelloPalette>)
set(_no_entry $<TARGET_FILE:pello_badinput_no_entry>)
set(_crashing $<TARGET_FILE:pello_badinput_crashing>)
pello_bad_input(plugin_folder 3 "a folder, not a module file" run @WORK@/session.json --plugin @WORK@)
pello_bad_input(plugin_not_a_module 3 "@WORK@/document.json: not a PE module"
                run @WORK@/session.json --plugin @WORK@/document.json)
pello_bad_input(plugin_empty 3 "@WORK@/empty.json: not a PE module" session --plugin @WORK@/empty.json)
pello_bad_input(plugin_no_entry 3 "the entry point \"PluginMain\" that the PiPL names is not exported"
                run @WORK@/session.json --plugin ${_no_entry})
pello_bad_input(plugin_no_entry_validate 3 "the entry point \"PluginMain\" that the PiPL names is not exported"
                validate ${_no_entry})
pello_bad_input(plugin_crashes 4 "loaded; the transcript may be cut short" run @WORK@/start.json --plugin ${_crashing})
pello_bad_input(plugin_crashes_session 4 "loaded; the transcript may be cut short" session --plugin ${_crashing})
pello_bad_input(prefs_folder 2 "--prefs: a folder, not a file" session --prefs @WORK@)
pello_bad_input(prefs_missing_folder 2 "--prefs: no folder" session --prefs @WORK@/no/such/p.json)
pello_bad_input(prefs_damaged 0 "is damaged; using defaults; the damaged file is kept as" session --prefs
                @WORK@/prefs.json EXPECT_FILE prefs.json.bak)
pello_bad_input(out_not_a_folder 2 "--out: a file, not a folder" run @WORK@/session.json --out @WORK@/document.json)
pello_bad_input(output_under_a_file 2 "--output: cannot write" render @WORK@/document.json -o @WORK@/document.json/x.svg)
pello_bad_input(session_folder 2 "SESSION: a folder, not a file" run @WORK@)
pello_bad_input(session_empty 2 "not JSON" run @WORK@/empty.json)
pello_bad_input(session_not_an_object 2 "session: expected an object" run @WORK@/number.json)
pello_bad_input(document_huge_number 2 "not JSON this host reads" run @WORK@/huge.json)
pello_bad_input(misspelt_operation 2 "did you mean \"AIPathStyle::SetPathStyle\"" run @WORK@/fault.json)
pello_bad_input(misspelt_style_field 2 "did you mean \"stroke.dash.offset\"" run @WORK@/style.json)
pello_bad_input(nested_document 2 "nested deeper than 256 levels of arrays and objects"
                render @WORK@/deep.json -o @WORK@/deep.svg)
pello_bad_input(nested_to_the_limit 0 "<svg" render @WORK@/limit.json -o -)
pello_bad_input(command_line 2 "--bogus" run @WORK@/session.json --bogus)
pello_bad_input(command_line_subcommand 2 "unknown subcommand \"bogus\"" bogus)
pello_bad_input(output_is_input 2 "would write over DOCUMENT" render @WORK@/document.json -o @WORK@/document.json)
pello_bad_input(output_is_input_spelt 2 "would write over DOCUMENT"
                render @WORK@/document.json -o @WORK@/new/../document.json)
pello_bad_input(output_is_module 2 "would write over --plugin"
                session --prefs @WORK@/document.json --plugin @WORK@/document.json)
pello_bad_input(validate_steps 2 "--steps: expected 1 or more, not 0" validate --steps 0)
pello_bad_input(validate_seed 2 "--seed: expected a seed of 0 or more, not -1" validate --seed -1)
pello_bad_input(validate_two_modules 2 "plugin excludes --plugin" validate ${_plugin} --plugin ${_no_entry})
