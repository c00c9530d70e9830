# `make package`: a Debian package of what Install.cmake installs.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VENDOR Brenvale)
set(CPACK_PACKAGE_CONTACT "Brenvale technical support <support@brenvale.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Remote-control panel for the organisation's media players")
# Debian wants the description's lines within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Drives the organisation's media players over a serial line or a TCP
connection: folders, playback, volume, player ID and status requests, with
the player's replies shown raw. quorvex-send sends the same commands from a
shell, a script or a show-control system; a simulated player,
quorvex-player-sim, stands in for hardware.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE http://brenvale.example)
# The Qt libraries the program links (their packages carry the platform and
# image plugins too), found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own French (dialog buttons, context menus, socket errors), which no
# library dependency brings.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qttranslations5-l10n)

include(CPack)
