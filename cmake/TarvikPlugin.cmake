# A vessel plug-in: a shared library with hidden symbols, exporting only its
# entry points (marked DLLCLBK), loaded by the host from the Modules folder.
function(add_tarvik_plugin name)
  add_library(${name} MODULE ${ARGN})
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LIBRARY_OUTPUT_DIRECTORY ${TARVIK_MODULE_DIR})
  target_link_libraries(${name} PRIVATE tarvik_host_api)
  target_link_options(${name} PRIVATE -Wl,--exclude-libs,ALL)
endfunction()
