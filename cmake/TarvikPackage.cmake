# `cpack -G DEB` in the build folder: one Debian package, tarvik, of what
# `cmake --install` installs, under /usr. Its library dependencies come from
# dpkg-shlibdeps (the host library is the package's own, private one);
# gnuplot draws fly's plots and is recommended, not required.
set(CPACK_PACKAGE_NAME tarvik)
set(CPACK_PACKAGE_VENDOR "Tarvik maintainers")
set(CPACK_PACKAGE_CONTACT "Tarvik maintainers <maintainers@users.noreply.c-seed-9b9be23a.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tarvik launchers for Orbiter, and a headless host that flies them")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Seven vessel plug-ins for the Orbiter space flight simulator (the Medium launchers\n"
  "TarvikM4, TarvikM42, TarvikM52 and TarvikM54, the heavy launcher TarvikSH and the\n"
  "launch pads sitewest and siteeast) with tarvik-sim, which flies them headless:\n"
  "scenarios and session scripts, missions to a target orbit through the autopilot\n"
  "dialog, tables of missions, reports and plots.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS gnuplot-nox)

include(CPack)
