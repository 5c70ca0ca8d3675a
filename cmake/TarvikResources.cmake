# A plug-in's resources (dialog templates and bitmaps): the resource script is
# copied beside the module as <Module>.rc.txt, each bitmap it names to the same
# path relative to the Modules folder, where the host looks for them.
#
#   add_tarvik_resources(TarvikM52 ${CMAKE_CURRENT_SOURCE_DIR}/dialogs/tarvik.rc.txt)
#
# Bitmaps are found beside the script, or, with GENERATED_DIR, in a folder the
# build fills (the DEPENDS targets draw them); those are checked when the
# resources are copied rather than when the build is configured.
#
#   add_tarvik_resources(TarvikM52 ${CMAKE_CURRENT_SOURCE_DIR}/dialogs/tarvik.rc.txt
#     GENERATED_DIR ${CMAKE_BINARY_DIR}/art DEPENDS tarvik_art)
#
# Plug-ins may share a bitmap path only when it is the same file (the four
# builds of one code base do); the first plug-in to name it copies it. The
# script and bitmaps of each target are recorded for tarvik_install_plugins.
function(add_tarvik_resources target script)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "GENERATED_DIR" "DEPENDS")
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "add_tarvik_resources(${target}): unexpected arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  get_filename_component(script "${script}" ABSOLUTE)
  get_filename_component(script_dir "${script}" DIRECTORY)
  set(bitmap_dir "${script_dir}")
  if(ARG_GENERATED_DIR)
    get_filename_component(bitmap_dir "${ARG_GENERATED_DIR}" ABSOLUTE)
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${script}")
  set_property(GLOBAL PROPERTY "TARVIK_RESOURCE_SCRIPT_${target}" "${script}")

  set(copies
    COMMAND ${CMAKE_COMMAND} -E make_directory "${TARVIK_MODULE_DIR}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${script}" "${TARVIK_MODULE_DIR}/${target}.rc.txt")
  set(sources "${script}")
  set(generated "")
  set(owners "")

  file(STRINGS "${script}" lines REGEX "^[ \t]*bitmap[ \t]")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^[ \t]*bitmap[ \t]+[0-9]+[ \t]+([^ \t#]+)")
      message(FATAL_ERROR "${script}: bad bitmap line: ${line}")
    endif()
    set(relative "${CMAKE_MATCH_1}")
    set(source "${bitmap_dir}/${relative}")
    set(destination "${TARVIK_MODULE_DIR}/${relative}")
    if(NOT ARG_GENERATED_DIR AND NOT EXISTS "${source}")
      message(FATAL_ERROR "${script}: bitmap file ${relative} does not exist")
    endif()
    # Every bitmap of the target, shared or not, for the installation.
    set_property(GLOBAL APPEND PROPERTY "TARVIK_RESOURCE_BITMAPS_${target}" "${source}|${relative}")
    get_property(owner GLOBAL PROPERTY "TARVIK_RESOURCE_${destination}")
    if(owner)
      list(GET owner 0 owner_source)
      list(GET owner 1 owner_target)
      if(NOT owner_source STREQUAL source)
        message(FATAL_ERROR "${target}: bitmap path ${relative} is already taken by ${owner_source}")
      endif()
      if(NOT owner_target STREQUAL target)
        list(APPEND owners ${owner_target}_resources)
      endif()
    else()
      set_property(GLOBAL PROPERTY "TARVIK_RESOURCE_${destination}" "${source};${target}")
      get_filename_component(destination_dir "${destination}" DIRECTORY)
      list(APPEND copies
        COMMAND ${CMAKE_COMMAND} -E make_directory "${destination_dir}"
        COMMAND ${CMAKE_COMMAND} -E copy_if_different "${source}" "${destination}")
      if(ARG_GENERATED_DIR)
        list(APPEND generated "${source}")
      else()
        list(APPEND sources "${source}")
      endif()
    endif()
  endforeach()

  if(generated)
    # One check before the copies, naming the script and the missing file.
    list(JOIN generated "|" generated_files)
    list(PREPEND copies
      COMMAND ${CMAKE_COMMAND} "-DSCRIPT=${script}" "-DFILES=${generated_files}"
              -P "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/TarvikCheckBitmaps.cmake")
  endif()

  add_custom_target(${target}_resources ${copies}
    SOURCES ${sources}
    COMMENT "Resources of ${target}"
    VERBATIM)
  if(owners)
    list(REMOVE_DUPLICATES owners)
    add_dependencies(${target}_resources ${owners})
  endif()
  if(ARG_DEPENDS)
    add_dependencies(${target}_resources ${ARG_DEPENDS})
  endif()
  add_dependencies(${target} ${target}_resources)
endfunction()
