# A Debian package of the installed game (cpack -G DEB, see scripts/package.sh), or on Windows
# a ZIP for players with the program and its licence.
if(WIN32)
  set(CPACK_GENERATOR "ZIP")
  set(CPACK_PACKAGE_FILE_NAME "wirbelbox-${PROJECT_VERSION}-windows-x64")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  include(CPack)
  return()
endif()
set(CPACK_PACKAGE_NAME "wirbelbox")
set(CPACK_PACKAGE_VENDOR "Wirbelbox")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
  "Wirbelbox is a small dexterity game in one window. Hold the left mouse button on the red\n\
block and drag it around the white field while four blue blocks bounce across the window:\n\
a blue block that touches yours buzzes, and leaving the field sounds an alarm.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
set(CPACK_PACKAGE_CONTACT "Wirbelbox developers <wirbelbox@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the computed dependencies cannot see them: Qt's platform plugins for
# the window, libpulse for the sounds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libpulse0")
# Runs natively on Wayland desktops when Qt's Wayland platform is there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
include(CPack)
