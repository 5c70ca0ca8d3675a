# What `cmake --install` puts where (the folders are in TarvikInstallDirs.cmake):
# the program, the host library, the plug-ins that ship with their resources,
# the data and the documents. The test modules and programs stay in the build.

# The plug-ins that ship; each with the resources add_tarvik_resources gave it.
set(TARVIK_SHIPPED_PLUGINS TarvikM4 TarvikM42 TarvikM52 TarvikM54 TarvikSH sitewest siteeast)

function(tarvik_install_plugins)
  foreach(target IN LISTS ARGN)
    if(NOT TARGET ${target})
      continue()
    endif()
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${TARVIK_MODULES_TO_LIB}")
    install(TARGETS ${target} LIBRARY DESTINATION ${TARVIK_INSTALL_MODULEDIR} COMPONENT runtime)
    get_property(script GLOBAL PROPERTY "TARVIK_RESOURCE_SCRIPT_${target}")
    if(script)
      install(FILES "${script}" DESTINATION ${TARVIK_INSTALL_MODULEDIR} RENAME ${target}.rc.txt COMPONENT runtime)
    endif()
    get_property(bitmaps GLOBAL PROPERTY "TARVIK_RESOURCE_BITMAPS_${target}")
    foreach(bitmap IN LISTS bitmaps)
      string(REPLACE "|" ";" parts "${bitmap}")
      list(GET parts 0 source)
      list(GET parts 1 relative)
      get_property(installed GLOBAL PROPERTY "TARVIK_INSTALLED_${relative}")
      if(installed)
        continue()  # the same file, shared by the builds of one code base
      endif()
      set_property(GLOBAL PROPERTY "TARVIK_INSTALLED_${relative}" TRUE)
      get_filename_component(folder "${relative}" DIRECTORY)
      install(FILES "${source}" DESTINATION ${TARVIK_INSTALL_MODULEDIR}/${folder} COMPONENT runtime)
    endforeach()
  endforeach()
endfunction()

tarvik_install_plugins(${TARVIK_SHIPPED_PLUGINS})

# The host library beside the plug-ins' folder; the program finds it from its own.
install(TARGETS tarvik_host LIBRARY DESTINATION ${TARVIK_INSTALL_LIBDIR} COMPONENT runtime)
if(TARGET tarvik-sim)
  set_target_properties(tarvik-sim PROPERTIES INSTALL_RPATH "$ORIGIN/${TARVIK_BIN_TO_LIB}")
  install(TARGETS tarvik-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
endif()

# The data folder, with the pictures the build draws for the simulator's own
# folder (the default custom payload pictures) in it.
install(DIRECTORY data/Config data/Scenarios data/scripts data/dispersions DESTINATION ${TARVIK_INSTALL_DATADIR} COMPONENT runtime)
# The capacity table fly checks payloads against.
install(FILES data/capacity.csv DESTINATION ${TARVIK_INSTALL_DATADIR} COMPONENT runtime)
install(DIRECTORY ${CMAKE_BINARY_DIR}/art/images DESTINATION ${TARVIK_INSTALL_DATADIR} COMPONENT runtime)

install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
install(DIRECTORY docs DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
