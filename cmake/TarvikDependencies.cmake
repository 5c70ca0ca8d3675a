# What the build takes from the system, one line each with the Debian package
# that provides it: a missing one stops the configuration with a line that
# says what to install, rather than a compile error later.
#
#   tarvik_require(<find_package name> <Debian package> [find_package arguments])
macro(tarvik_require package debian)
  find_package(${package} ${ARGN} QUIET)
  if(NOT ${package}_FOUND)
    message(FATAL_ERROR "${package} was not found: install the Debian package ${debian} "
                        "(apt-get install ${debian}), or give its place in CMAKE_PREFIX_PATH")
  endif()
endmacro()

tarvik_require(PNG           libpng-dev)            # dialogs written out as PNG pictures
tarvik_require(CLI11         libcli11-dev CONFIG)   # tarvik-sim's command line
tarvik_require(nlohmann_json nlohmann-json3-dev 3)  # tarvik-sim's JSON outputs
if(BUILD_TESTING)
  tarvik_require(GTest       libgtest-dev)          # the tests
endif()
