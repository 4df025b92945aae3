# The Debian package. scripts/package configures with the prefix /usr, for which GNUInstallDirs
# names the multiarch library folder, builds and runs cpack; the package installs under /usr.
# The install rules live beside their targets (frame/, host/, resources/); here only what the
# package says about itself.
set(ORVX_PACKAGE_NAME orvx-esd-dtm-ui)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${ORVX_PACKAGE_NAME})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${ORVX_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvx ESD DTM UI maintainers")
set(CPACK_PACKAGE_CONTACT "Orvx ESD DTM UI maintainers <maintainers@users.noreply.c-seed-1da98038.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "user interface for Orvx ESD HART valve positioners")
set(CPACK_PACKAGE_DESCRIPTION [[
The user-interface module of a Device Type Manager for the Orvx ESD family of
HART valve positioners, and orvx-frame, which hosts it over a simulated
positioner: configure the valve, run a partial stroke test, find the stops,
tune it, read its faults, watch a live trend and keep PST signatures in
diagnostic data files; and orvx-dgn, which lists, shows, exports and checks
those data files from a plant's scripts and keeps them in the plant store.]])
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME ${ORVX_PACKAGE_NAME})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The run-time libraries the program and the module link come from dpkg-shlibdeps. The SVG
# plugins are loaded, not linked: without them the icons stay empty. So are the SQL drivers:
# SQLite holds the plant store unless told otherwise; PostgreSQL serves a team's store.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql")

include(CPack)
