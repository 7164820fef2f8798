# pello_plugin_module(TARGET [SOURCES...]): a plug-in module TARGET.aip as a
# host loads it, with the plug-in's resources and one export, PluginMain. The
# product (plugin/) and the validator's fixture plug-ins are made with it; the
# caller adds the code. The resources come from plugin/CMakeLists.txt
# (target pello_plugin_resources).
function(pello_plugin_module target)
  add_library(${target} MODULE ${ARGN})
  target_link_libraries(${target} PRIVATE pello_hostapi)
  pello_target_flags(${target})
  # Entered from C only, it neither throws nor catches; without exception
  # support it links no piece of the C++ runtime (on Windows that piece
  # allocates per load and, on 32-bit, takes a thread-local slot).
  target_compile_options(${target} PRIVATE -fno-exceptions)
  set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX ".aip" CXX_VISIBILITY_PRESET hidden
                                             VISIBILITY_INLINES_HIDDEN ON)
  add_dependencies(${target} pello_plugin_resources)
  set(shell ${PROJECT_SOURCE_DIR}/plugin/shell)
  if(WIN32)
    # Platform (Windows): the module definition file names the one export,
    # undecorated also on 32-bit x86; the resources are linked in as an
    # object. Everything is linked statically (see the toolchain files), so
    # the DLL imports only from system DLLs.
    target_sources(${target} PRIVATE ${shell}/PelloPalette.def)
    target_link_libraries(${target} PRIVATE ${PELLO_RES_OBJECT})
    set_target_properties(${target} PROPERTIES LINK_DEPENDS ${PELLO_RES_OBJECT})
    # The DLL as users get it is stripped; its debug information goes to
    # TARGET.aip.debug beside it, which the DLL names in a .gnu_debuglink
    # section, so a debugger given both finds the symbols. objcopy and strip
    # write the PE time stamp afresh unless SOURCE_DATE_EPOCH names one: 0,
    # as the linker leaves it, so the same sources give the same bytes.
    set(no_time ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0)
    add_custom_command(
      TARGET ${target} POST_BUILD
      COMMAND ${no_time} ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${target}>
              $<TARGET_FILE_NAME:${target}>.debug
      COMMAND ${no_time} ${PELLO_STRIP} --strip-all $<TARGET_FILE_NAME:${target}>
      COMMAND ${no_time} ${CMAKE_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug
              $<TARGET_FILE_NAME:${target}>
      WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
      COMMENT "Splitting ${target}'s debug information into a .debug file beside it"
      VERBATIM)
  else()
    # Platform (ELF): only PluginMain is exported (hidden visibility and this
    # version script).
    set(map ${shell}/PelloPalette.map)
    target_link_options(${target} PRIVATE -Wl,--version-script=${map})
    set_target_properties(${target} PROPERTIES LINK_DEPENDS "${map};${PELLO_RES}")
    # Platform (ELF): the resources travel inside the module.
    #
    # Contract with the stand-in host: the module has a section named ".rsrc"
    # (not loaded, read-only) whose contents are the bytes of PelloPalette.res,
    # unchanged. The host opens the module file, finds the section by name in
    # the ELF section headers and reads it as a sequence of RESOURCEHEADER
    # records, each followed by its data: DataSize and HeaderSize (32-bit),
    # TYPE and NAME (each 0xFFFF plus a 16-bit number, or a zero-terminated
    # UTF-16 string), padding to 4 bytes, DataVersion (32-bit), MemoryFlags and
    # LanguageId (16-bit), Version and Characteristics (32-bit); the data
    # follows the header and is padded to 4 bytes. The first record is the
    # empty one (DataSize 0, HeaderSize 32) that starts every .res file.
    add_custom_command(
      TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_OBJCOPY} --add-section .rsrc=${PELLO_RES} --set-section-flags .rsrc=noload,readonly
              $<TARGET_FILE:${target}>
      COMMENT "Embedding PelloPalette.res in ${target}.aip as section .rsrc"
      VERBATIM)
  endif()
endfunction()
