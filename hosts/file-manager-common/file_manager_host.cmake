# SPDX-License-Identifier: Apache-2.0
# What the module of every Linux file manager is built from, whatever its
# toolkit: the controller's owner, the file manager's side of the seam, the
# re-ask queue, the menu's words and activation, and the emblem pictures.
# gtk-common/gtk_host.cmake and dolphin/CMakeLists.txt include this file.
include_guard(GLOBAL)

# The static libraries end up inside shared objects.
set_target_properties(quorbitz_core quorbitz_linux PROPERTIES POSITION_INDEPENDENT_CODE ON)

# Every .cc of this folder, compiled once for all the file managers. It needs
# GLib and cairo only; the toolkit's side of desktop.h comes with each module.
file(GLOB QUORBITZ_FILE_MANAGER_COMMON_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cc)
add_library(quorbitz_file_manager_common STATIC ${QUORBITZ_FILE_MANAGER_COMMON_SOURCES})
target_link_libraries(quorbitz_file_manager_common PRIVATE PkgConfig::CAIRO)
set_target_properties(quorbitz_file_manager_common PROPERTIES
  POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)
target_include_directories(quorbitz_file_manager_common PUBLIC ${PROJECT_SOURCE_DIR}/hosts)
target_compile_options(quorbitz_file_manager_common PRIVATE ${QUORBITZ_WARNINGS})
target_link_libraries(quorbitz_file_manager_common PUBLIC quorbitz_core quorbitz_linux)

# The emblem pictures every module shares, drawn at build time by the
# extension's own drawing code and installed into the hicolor theme with the
# `common` component.
add_executable(quorbitz-draw-emblems ${CMAKE_CURRENT_LIST_DIR}/tools/draw_emblems.cc
  ${CMAKE_CURRENT_LIST_DIR}/emblem_pictures.cc)
target_include_directories(quorbitz-draw-emblems PRIVATE ${PROJECT_SOURCE_DIR}/hosts)
target_compile_options(quorbitz-draw-emblems PRIVATE ${QUORBITZ_WARNINGS})
target_link_libraries(quorbitz-draw-emblems PRIVATE quorbitz_core quorbitz_linux PkgConfig::CAIRO)
set(QUORBITZ_EMBLEM_THEME ${CMAKE_BINARY_DIR}/emblems/hicolor)
add_custom_command(OUTPUT ${QUORBITZ_EMBLEM_THEME}.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QUORBITZ_EMBLEM_THEME}
  # cairo 1.16's SVG surface leaks the snapshots of the masks painted into
  # it; the tool exits at once, so a sanitized build must not fail on that.
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:quorbitz-draw-emblems> ${QUORBITZ_EMBLEM_THEME}
  COMMAND ${CMAKE_COMMAND} -E touch ${QUORBITZ_EMBLEM_THEME}.stamp
  DEPENDS quorbitz-draw-emblems
  COMMENT "Drawing the emblem pictures" VERBATIM)
add_custom_target(quorbitz_emblem_pictures ALL DEPENDS ${QUORBITZ_EMBLEM_THEME}.stamp)
install(DIRECTORY ${QUORBITZ_EMBLEM_THEME}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons COMPONENT common)
