# The Debian package: CPack's DEB generator over the install rules (app/).
#   cpack --config <build>/CPackConfig.cmake   (scripts/package.sh does it all)
# Installed under /usr; the libraries the program links are found by
# dpkg-shlibdeps. Qt's platform plugins are loaded at run time, so no
# library link names them: the package that holds the X11 one is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nuvask)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "resident mixer tool that keeps the recording level right")
set(CPACK_PACKAGE_DESCRIPTION "\
DORIVA SOUND (nuvASK) shows three volume strips bound to lines of the sound
server (PulseAudio or PipeWire) or of a sound card (ALSA), a recording level
monitor that lowers the recording volume whenever the input reaches a cut
level, and named recording volumes. It stays on top, in a screen corner or in
the notification area. Its interface is Japanese or English, after the
user's language.
.
Installed by the package, the program is ready for every user: its first
start opens the main window. `nuvask /uninstall` removes what a user's runs
made (settings, saved volumes, autostart and desktop launchers); the package
itself is removed with the package manager.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "nuvASK developers <nuvask@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-japanese-gothic")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
