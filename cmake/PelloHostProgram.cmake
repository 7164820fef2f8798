# Programs and libraries that load the built plug-in module into the
# stand-in host: the plug-in's tests, the benchmarks, the fuzzers and
# pello-host.
#
# pello_built_plugin: code that links it knows the built module's path as
# PELLO_PLUGIN_PATH (a string literal), and is built after the module.
add_library(pello_built_plugin INTERFACE)
target_compile_definitions(pello_built_plugin INTERFACE PELLO_PLUGIN_PATH="$<TARGET_FILE:PelloPalette>")
add_dependencies(pello_built_plugin PelloPalette)

# pello_host_program(TARGET [SOURCES...]): an executable TARGET that hosts the
# plug-in: it links the stand-in host (pello_host), the names of the plug-in's
# surface (pello_harness) and pello_built_plugin, and exports its symbols,
# since the plug-in module resolves GetKeyboardState from the executable. The
# caller adds what else it needs.
function(pello_host_program target)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE pello_host pello_harness pello_built_plugin)
  pello_target_flags(${target})
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
endfunction()
