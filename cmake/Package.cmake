# The Debian package: CPack's DEB generator packs the installed layout under /usr
# (scripts/package.sh, or `cpack -G DEB` in a built tree). The runtime dependencies are
# computed from the binary by dpkg-shlibdeps (Debian package dpkg-dev, which needs `file`).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tesk)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The TESK project")
set(CPACK_PACKAGE_CONTACT "TESK developers <tesk@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "watch who is online on a chat gateway from the system tray")
# The long description as dpkg shows it: lines of at most 79 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "TESK is a small client for a text chat gateway (classic or PvPGN) that lives
in the system tray and watches a list of user names: who is logged on, in
which channel or game, and whether they are away or refusing messages.

It announces watched users who come online with a chime and a desktop
notification, keeps one chat window per whisper partner with an optional
history, asks for game statistics and shows the server traffic in a console.
It also runs without windows, printing every change as one line.")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tesk.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libcanberra plays through the sound server with this plug-in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libcanberra-pulse)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Everything but the "license" component: the package's copyright file holds the licence.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};TESK;Unspecified;/")
include(CPack)
