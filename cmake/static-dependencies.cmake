# SPDX-License-Identifier: Apache-2.0
# simdjson and utf8proc built from pinned release sources and linked
# statically, under the names pkg-config gives them on Linux. On macOS the
# Finder extension must carry what it links beyond the system: a library
# found by pkg-config there is Homebrew's dylib, named by an absolute path
# outside the bundle, which other Macs lack and the hardened runtime refuses.
include(FetchContent)
set(BUILD_SHARED_LIBS OFF)
set(UTF8PROC_INSTALL OFF CACHE BOOL "Install utf8proc with the project")
FetchContent_Declare(simdjson
  URL https://github.com/simdjson/simdjson/archive/refs/tags/v3.13.0.tar.gz
  URL_HASH SHA256=07a1bb3587aac18fd6a10a83fe4ab09f1100ab39f0cb73baea1317826b9f9e0d)
FetchContent_Declare(utf8proc
  URL https://github.com/JuliaStrings/utf8proc/archive/refs/tags/v2.11.3.tar.gz
  URL_HASH SHA256=abfed50b6d4da51345713661370290f4f4747263ee73dc90356299dfc7990c78)
FetchContent_MakeAvailable(simdjson utf8proc)

add_library(PkgConfig::SIMDJSON INTERFACE IMPORTED)
target_link_libraries(PkgConfig::SIMDJSON INTERFACE simdjson::simdjson)
add_library(PkgConfig::UTF8PROC INTERFACE IMPORTED)
target_link_libraries(PkgConfig::UTF8PROC INTERFACE utf8proc)
