// SPDX-License-Identifier: Apache-2.0
// The application that carries the Finder extension for trying it without
// the main application: macOS finds an app extension only inside an
// application. It opens no window; once the extension is enabled the Finder
// loads it on its own.
#include <cstdio>

int main() {
  std::printf(
      "The Quorbitz Finder extension is inside this application.\n"
      "Register and enable it, then restart the Finder:\n"
      "  pluginkit -a <this application>/Contents/PlugIns/QuorbitzFinderSync.appex\n"
      "  pluginkit -e use -i %s\n"
      "  killall Finder\n",
      QUORBITZ_FINDER_BUNDLE_ID);
  return 0;
}
