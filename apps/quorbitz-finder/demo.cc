#include "demo.h"

#include <cstdio>

namespace quorbitz::host {

int runDemo(const std::optional<std::string>&) {
  std::puts("The demo is not built yet; try quorbitz-finder run.");
  return 0;
}

}  // namespace quorbitz::host
