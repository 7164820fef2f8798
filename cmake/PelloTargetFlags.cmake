# The flags of the project's own targets, as INTERFACE libraries that each of
# them links PRIVATE (code built in the tree from elsewhere, GoogleTest in the
# cross builds, keeps its own):
#   pello_warnings    -Wall -Wextra, -Werror under PELLO_WERROR
#   pello_sanitizers  the sanitizers of PELLO_SANITIZE, compiled and linked in
# pello_check_target_flags() at the end of the configuration fails it when a
# target of the project links either one not.
add_library(pello_warnings INTERFACE)
target_compile_options(pello_warnings INTERFACE -Wall -Wextra $<$<BOOL:${PELLO_WERROR}>:-Werror>)
# GCC 12 reports overlaps that cannot happen inside std::string's operator+
# when it optimises (GCC bug 105329); the Windows presets build optimised.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(pello_warnings INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
endif()

add_library(pello_sanitizers INTERFACE)
if(PELLO_SANITIZE)
  target_compile_options(pello_sanitizers INTERFACE -fsanitize=${PELLO_SANITIZE} -fno-omit-frame-pointer
                                                    -fno-sanitize-recover=all)
  target_link_options(pello_sanitizers INTERFACE -fsanitize=${PELLO_SANITIZE})
endif()

# pello_target_flags(TARGET...): the targets link pello_warnings and
# pello_sanitizers.
function(pello_target_flags)
  foreach(target IN LISTS ARGN)
    target_link_libraries(${target} PRIVATE pello_warnings pello_sanitizers)
  endforeach()
endfunction()

# Every target that compiles or links, in the project's source tree, links
# pello_warnings and pello_sanitizers.
function(pello_check_target_flags)
  set(directories ${PROJECT_SOURCE_DIR})
  set(missing "")
  while(directories)
    list(POP_FRONT directories directory)
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    list(APPEND directories ${subdirectories})
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${directory}" inside)
    if(NOT inside)
      continue()
    endif()
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type STREQUAL "INTERFACE_LIBRARY" OR type STREQUAL "UTILITY")
        continue()
      endif()
      get_target_property(links ${target} LINK_LIBRARIES)
      if(NOT "pello_warnings" IN_LIST links OR NOT "pello_sanitizers" IN_LIST links)
        list(APPEND missing ${target})
      endif()
    endforeach()
  endwhile()
  if(missing)
    message(FATAL_ERROR "Targets without pello_warnings and pello_sanitizers (pello_target_flags): ${missing}")
  endif()
endfunction()
