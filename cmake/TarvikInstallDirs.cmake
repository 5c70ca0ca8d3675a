# Where an installation puts things, under the GNU install directories:
#
#   BINDIR/tarvik-sim                     the program
#   LIBDIR/tarvik/libtarvik_host.so       the host library, private to the program and the plug-ins
#   LIBDIR/tarvik/Modules/                the plug-ins with their resource scripts and bitmaps
#   DATADIR/tarvik/                       the data (Config/, Scenarios/, scripts/, capacity.csv) and the
#                                         pictures the simulator's own folder ships (images/tarvik/)
#   DOCDIR                                README.md and docs/
#
# The host finds the plug-ins and the data relative to its own library, so an
# installation works wherever its prefix is (host/sim/InstalledFolders.h).
set(CMAKE_INSTALL_DOCDIR "share/doc/tarvik" CACHE PATH "Documentation (DATAROOTDIR/doc/tarvik)")
include(GNUInstallDirs)

set(TARVIK_INSTALL_LIBDIR ${CMAKE_INSTALL_LIBDIR}/tarvik)
set(TARVIK_INSTALL_MODULEDIR ${TARVIK_INSTALL_LIBDIR}/Modules)
set(TARVIK_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/tarvik)

# The same paths relative to the folder of the host library and of the program.
function(tarvik_relative_dir variable from to)
  if(IS_ABSOLUTE "${from}")
    set(from_full "${from}")
  else()
    set(from_full "${CMAKE_INSTALL_PREFIX}/${from}")
  endif()
  if(IS_ABSOLUTE "${to}")
    set(to_full "${to}")
  else()
    set(to_full "${CMAKE_INSTALL_PREFIX}/${to}")
  endif()
  file(RELATIVE_PATH relative "${from_full}" "${to_full}")
  string(REGEX REPLACE "/$" "" relative "${relative}")
  if(relative STREQUAL "")
    set(relative ".")
  endif()
  set(${variable} "${relative}" PARENT_SCOPE)
endfunction()

tarvik_relative_dir(TARVIK_LIB_TO_MODULES ${TARVIK_INSTALL_LIBDIR} ${TARVIK_INSTALL_MODULEDIR})
tarvik_relative_dir(TARVIK_LIB_TO_DATA ${TARVIK_INSTALL_LIBDIR} ${TARVIK_INSTALL_DATADIR})
tarvik_relative_dir(TARVIK_BIN_TO_LIB ${CMAKE_INSTALL_BINDIR} ${TARVIK_INSTALL_LIBDIR})
tarvik_relative_dir(TARVIK_MODULES_TO_LIB ${TARVIK_INSTALL_MODULEDIR} ${TARVIK_INSTALL_LIBDIR})
