# SPDX-License-Identifier: Apache-2.0
# How the modules of the GTK file managers are built. A file manager's
# CMakeLists.txt includes this file and calls quorbitz_gtk_host_module once.
include_guard(GLOBAL)

include(${PROJECT_SOURCE_DIR}/hosts/file-manager-common/file_manager_host.cmake)

# The GObject glue of Nautilus's family and Thunar, compiled once for them.
# What needs GTK 3 or GTK 4 (gtk3_*.cc, gtk4_*.cc) comes with each module,
# by its toolkit.
file(GLOB QUORBITZ_GTK_COMMON_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cc)
list(FILTER QUORBITZ_GTK_COMMON_SOURCES EXCLUDE REGEX "/gtk[34]_[^/]*\\.cc$")
add_library(quorbitz_gtk_common STATIC ${QUORBITZ_GTK_COMMON_SOURCES})
set_target_properties(quorbitz_gtk_common PROPERTIES
  POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)
target_compile_options(quorbitz_gtk_common PRIVATE ${QUORBITZ_WARNINGS})
target_link_libraries(quorbitz_gtk_common PUBLIC quorbitz_file_manager_common)

# The folder the file manager loads the extension MODULE (a pkg-config
# module) from, with the module's prefix replaced by ours, as packagers
# expect: relative to the prefix where it lies under it, so that
# `cmake --install --prefix` and DESTDIR re-root it, absolute otherwise.
# (CMake 3.25's pkg_get_variable cannot redefine a variable yet.)
function(quorbitz_extension_dir result module)
  foreach(variable extensiondir extensionsdir)  # Thunar's thunarx-3 says extensionsdir
    execute_process(
      COMMAND ${PKG_CONFIG_EXECUTABLE} --define-variable=prefix=${CMAKE_INSTALL_PREFIX}
              --variable=${variable} ${module}
      OUTPUT_VARIABLE dir OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(NOT failed AND dir)
      break()
    endif()
  endforeach()
  if(NOT dir)
    message(FATAL_ERROR "${module} names no extension folder")
  endif()
  string(LENGTH "${CMAKE_INSTALL_PREFIX}/" length)
  string(SUBSTRING "${dir}" 0 ${length} head)
  if(head STREQUAL "${CMAKE_INSTALL_PREFIX}/")
    string(SUBSTRING "${dir}" ${length} -1 dir)
  endif()
  set(${result} ${dir} PARENT_SCOPE)
endfunction()

# Builds lib<module>.so (target quorbitz_<host>, where <module> is
# quorbitz-<host>) from the .cc files of the calling folder and the
# gtk-common/ pieces for TOOLKIT (gtk3 or gtk4), against the pkg-config module
# EXTENSION, and installs it into that module's extensiondir, the folder the
# file manager loads extensions from. Where EXTENSION or the toolkit is
# missing, it names the Debian PACKAGES to install and builds nothing.
# Usage: quorbitz_gtk_host_module(HOST EXTENSION TOOLKIT PACKAGE...)
function(quorbitz_gtk_host_module host extension toolkit)
  string(TOUPPER "QUORBITZ_${host}_EXTENSION" found)
  string(TOUPPER "QUORBITZ_${toolkit}" toolkit_found)
  if(toolkit STREQUAL "gtk4")
    set(toolkit_module gtk4)
  else()
    set(toolkit_module gtk+-3.0)
  endif()
  pkg_check_modules(${found} IMPORTED_TARGET ${extension})
  pkg_check_modules(${toolkit_found} IMPORTED_TARGET ${toolkit_module})
  if(NOT ${found}_FOUND OR NOT ${toolkit_found}_FOUND)
    list(JOIN ARGN " " packages)
    message(STATUS "The ${host} extension is not built: ${extension} or ${toolkit_module} "
                   "not found (apt-get install ${packages})")
    return()
  endif()

  set(target quorbitz_${host})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cc
       ${PROJECT_SOURCE_DIR}/hosts/gtk-common/${toolkit}_*.cc)
  add_library(${target} MODULE ${sources})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME quorbitz-${host}
    PREFIX lib
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_compile_options(${target} PRIVATE ${QUORBITZ_WARNINGS})
  # Imported targets put their include folders on the SYSTEM path, so warnings
  # in the file manager's and GTK's headers do not fail the build.
  target_link_libraries(${target} PRIVATE
    quorbitz_gtk_common PkgConfig::${found} PkgConfig::${toolkit_found})
  # Only the three module entry points leave the module; the project's own
  # symbols stay private to it.
  target_link_options(${target} PRIVATE -Wl,--exclude-libs,ALL -Wl,--no-undefined)

  quorbitz_extension_dir(extension_dir ${extension})
  install(TARGETS ${target} LIBRARY DESTINATION ${extension_dir} COMPONENT ${host})
endfunction()
