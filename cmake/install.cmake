# SPDX-License-Identifier: Apache-2.0
# What `cmake --install` puts under the prefix besides the programs, in the components the Debian
# packages are made of (cmake/packaging.cmake): `finder` (the stand-in host,
# its manual page and the README), `common` (what every file-manager module
# shares: the emblem pictures, translations), one component per file manager
# (hosts/gtk-common/gtk_host.cmake, hosts/dolphin/CMakeLists.txt) and
# `licence`, the licence text, which the packages carry as their copyright
# file instead.
include_guard(GLOBAL)

# Debian wants manual pages and changelogs compressed, reproducibly.
# Usage: quorbitz_gzip(TARGET SOURCE OUTPUT)
function(quorbitz_gzip target source output)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9 -n -c ${source} > ${output}
    DEPENDS ${source} VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()

quorbitz_gzip(quorbitz_man_page ${PROJECT_SOURCE_DIR}/docs/quorbitz-finder.1
              ${PROJECT_BINARY_DIR}/quorbitz-finder.1.gz)
quorbitz_gzip(quorbitz_changelog ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
              ${PROJECT_BINARY_DIR}/changelog.gz)

# Every package's documentation folder holds its copyright statement and the
# changelog.
# Usage: quorbitz_install_package_docs(COMPONENT)
function(quorbitz_install_package_docs component)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
                ${PROJECT_BINARY_DIR}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorbitz-${component}
          COMPONENT ${component})
endfunction()

install(FILES ${PROJECT_BINARY_DIR}/quorbitz-finder.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT finder)
install(FILES README.md docs/host-protocol.md docs/integration.md
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorbitz-finder COMPONENT finder)
install(DIRECTORY docs/schema
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorbitz-finder COMPONENT finder)
quorbitz_install_package_docs(finder)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorbitz-finder
        COMPONENT licence)
