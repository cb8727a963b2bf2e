# SPDX-License-Identifier: Apache-2.0
# Debian packages (`cpack -G DEB` in the build folder): one per component of
# cmake/install.cmake, all installed under /usr. Their Depends come from
# dpkg-shlibdeps; none needs a maintainer script: hicolor-icon-theme and
# man-db refresh their caches through dpkg triggers.
include_guard(GLOBAL)

get_property(QUORBITZ_MODULE_HOSTS GLOBAL PROPERTY QUORBITZ_MODULE_HOSTS)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorbitz)
set(CPACK_PACKAGE_VENDOR Quorbitz)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# A package built on one Debian release links that release's libraries (and,
# for Dolphin, its KDE Frameworks), so its version names the release, as
# backports do: 0.1.0-1~deb12 sorts below 0.1.0-1~deb13, and a system upgraded
# from Debian 12 to 13 takes the build for 13.
file(STRINGS /etc/os-release debian REGEX "^ID=\"?debian")
file(STRINGS /etc/os-release release REGEX "^VERSION_ID=")
if(debian AND release MATCHES "([0-9]+)")
  set(CPACK_DEBIAN_PACKAGE_RELEASE "1~deb${CMAKE_MATCH_1}")
else()
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
endif()
set(CPACK_PACKAGE_CONTACT "Quorbitz developers <packaging@quorbitz.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL finder common ${QUORBITZ_MODULE_HOSTS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# CPack indents the lines of a description and turns its empty lines into
# Debian's paragraph breaks.
set(QUORBITZ_PACKAGE_ABOUT
  "Quorbitz keeps project folders in sync. Its main application writes a\nsmall status file; the file-manager extension reads it, shows badges on\nsynced, syncing, locked and kept-local items and offers the service's\nfolder actions in a Quorbitz context menu.")

set(CPACK_DEBIAN_FINDER_PACKAGE_NAME quorbitz-finder)
set(CPACK_DEBIAN_FINDER_PACKAGE_RECOMMENDS adwaita-icon-theme)
set(CPACK_COMPONENT_FINDER_DESCRIPTION
  "stand-in file manager for the Quorbitz extension\n${QUORBITZ_PACKAGE_ABOUT}\n\nThis package holds quorbitz-finder, a program that loads the extension\nas a file manager would, driven by commands on its standard input, for\ndevelopers of the main application and for diagnosing badges.")

set(CPACK_DEBIAN_COMMON_PACKAGE_NAME quorbitz-common)
set(CPACK_DEBIAN_COMMON_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_COMMON_PACKAGE_DEPENDS hicolor-icon-theme)
set(CPACK_COMPONENT_COMMON_DESCRIPTION
  "emblems and translations of the Quorbitz file-manager extensions\n${QUORBITZ_PACKAGE_ABOUT}\n\nThis package holds what the extensions of every file manager share: the\nbadge pictures, as emblems of the hicolor icon theme, and the\ntranslations of the menus.")

foreach(host IN LISTS QUORBITZ_MODULE_HOSTS)
  string(TOUPPER ${host} component)
  get_property(file_manager GLOBAL PROPERTY QUORBITZ_FILE_MANAGER_${host})
  string(SUBSTRING ${file_manager} 0 1 initial)
  string(TOUPPER ${initial} initial)
  string(SUBSTRING ${file_manager} 1 -1 rest)
  set(file_manager_name ${initial}${rest})
  set(CPACK_DEBIAN_${component}_PACKAGE_NAME quorbitz-${host})
  set(CPACK_DEBIAN_${component}_PACKAGE_ENHANCES ${file_manager})
  get_property(section GLOBAL PROPERTY QUORBITZ_PACKAGE_SECTION_${host})
  if(NOT section)
    set(section gnome)
  endif()
  set(CPACK_DEBIAN_${component}_PACKAGE_SECTION ${section})
  set(CPACK_COMPONENT_${component}_DEPENDS common)
  set(CPACK_COMPONENT_${component}_DESCRIPTION
    "Quorbitz extension for the ${file_manager_name} file manager\n${QUORBITZ_PACKAGE_ABOUT}\n\nThis package holds the extension module ${file_manager_name} loads when it\nstarts.")
endforeach()

include(CPack)
