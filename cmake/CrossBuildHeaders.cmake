# Cross builds (Windows with mingw-w64): the header-only libraries come from
# the build machine's packages, whose targets name /usr/include. That
# directory must not reach the cross compiler, whose own C library headers it
# would shadow, so each library's header folder is linked into a directory of
# its own and the imported target is pointed there.
function(pello_stage_headers target folder)
  get_target_property(_includes ${target} INTERFACE_INCLUDE_DIRECTORIES)
  foreach(_include IN LISTS _includes)
    if(IS_DIRECTORY ${_include}/${folder})
      set(_staged ${CMAKE_BINARY_DIR}/build-machine-headers/${folder})
      file(MAKE_DIRECTORY ${_staged})
      file(CREATE_LINK ${_include}/${folder} ${_staged}/${folder} SYMBOLIC)
      set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${_staged})
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "${target}: no ${folder}/ under ${_includes}")
endfunction()

find_package(nlohmann_json REQUIRED)
pello_stage_headers(nlohmann_json::nlohmann_json nlohmann)
find_package(CLI11 REQUIRED)
pello_stage_headers(CLI11::CLI11 CLI)
