# SPDX-License-Identifier: Apache-2.0
# The extension's Info.plist and entitlements, made from their templates with
# the build's settings: QUORBITZ_FINDER_BUNDLE_ID, QUORBITZ_APP_GROUP,
# PROJECT_VERSION and CMAKE_OSX_DEPLOYMENT_TARGET. CMakeLists.txt calls the
# function; the checks on Linux run this file as a script:
#   cmake -DOUTPUT_DIR=DIR -DQUORBITZ_APP_GROUP=... (and the others) -P bundle_files.cmake
function(quorbitz_finder_bundle_files output_dir)
  foreach(setting QUORBITZ_FINDER_BUNDLE_ID QUORBITZ_APP_GROUP PROJECT_VERSION
                  CMAKE_OSX_DEPLOYMENT_TARGET)
    if(NOT ${setting})
      message(FATAL_ERROR "The Finder extension's bundle needs ${setting}")
    endif()
  endforeach()
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/Info.plist.in
                 ${output_dir}/Info.plist @ONLY)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/QuorbitzFinderSync.entitlements.in
                 ${output_dir}/QuorbitzFinderSync.entitlements @ONLY)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  quorbitz_finder_bundle_files(${OUTPUT_DIR})
endif()
