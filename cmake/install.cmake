# SPDX-License-Identifier: Apache-2.0
# What `cmake --install` puts under the prefix besides the programs, in the
# components the Debian packages are made of (debian/rules: the package
# quorbitz-<component>): `finder` (the stand-in host, its manual page and
# documentation), `common` (what every file-manager module shares: the emblem
# pictures, translations), one component per file manager
# (hosts/gtk-common/gtk_host.cmake, hosts/dolphin/CMakeLists.txt) and
# `licence`, the licence text, which the packages carry as their copyright
# file instead.
include_guard(GLOBAL)

install(FILES docs/quorbitz-finder.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT finder)
install(FILES README.md docs/host-protocol.md docs/integration.md
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorbitz-finder COMPONENT finder)
install(DIRECTORY docs/schema
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorbitz-finder COMPONENT finder)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorbitz-finder
        COMPONENT licence)

# The AppStream metadata of HOST's module, an add-on of the component
# EXTENDS (the id its file manager's own metainfo file declares, which
# software centres list it under), for the file manager called NAME; the
# suite validates it.
# Usage: quorbitz_install_metainfo(HOST NAME EXTENDS)
function(quorbitz_install_metainfo host name extends)
  set(QUORBITZ_METAINFO_ID com.quorbitz.sync.${host})
  set(QUORBITZ_METAINFO_EXTENDS ${extends})
  set(QUORBITZ_METAINFO_FILE_MANAGER ${name})
  set(file ${PROJECT_BINARY_DIR}/metainfo/${QUORBITZ_METAINFO_ID}.metainfo.xml)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/metainfo.xml.in ${file} @ONLY)
  install(FILES ${file} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo COMPONENT ${host})
  set_property(GLOBAL APPEND PROPERTY QUORBITZ_METAINFO_FILES ${file})
endfunction()
