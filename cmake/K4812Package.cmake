# The Debian package, made by CPack from the installed layout
# (cmake/K4812Install.cmake): `cpack` in the build folder, or scripts/package.sh.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME k4812)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${K4812_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility for the K4812 gaming mouse")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# The programs are stripped and their debug symbols go into the package
# k4812-dbgsym (a .ddeb beside the .deb, files under /usr/lib/debug/.build-id/),
# found by GDB through the programs' build IDs. CPack's DEB generator does
# both when it finds unstripped programs, so its own stripping stays off.
set(CPACK_STRIP_FILES OFF)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
# Only the installed layout goes in, not the test tree or the build tools.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${K4812_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(K4812_HOMEPAGE_URL)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${K4812_HOMEPAGE_URL}")
endif()
# The long description; CPack puts the summary line before it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A configuration window (k4812-config) and a command-line tool (k4812ctl)
for the K4812 USB gaming mouse: button functions, four CPI levels, report
rate, light, keyboard macros and five profiles bound to the mouse's two
hardware modes. A udev rule gives the user at the seat access to the mouse's
configuration interface and to no other input device. A built-in mouse
emulator lets both programs run without a mouse.")
# The libraries the programs link, as dpkg-shlibdeps finds them, and udev,
# which runs the access rule and its probe; Qt's Wayland platform plugin, which
# the window needs to run natively on a Wayland desktop (dpkg-shlibdeps cannot
# see it: Qt loads it at run time).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "udev, qt6-wayland")
# The Chinese interface needs a CJK font (docs/packaging.md).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "${K4812_CJK_FONT_PACKAGES}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/packaging/debian/conffiles
  ${PROJECT_SOURCE_DIR}/packaging/debian/postinst
  ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
