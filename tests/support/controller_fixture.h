// SPDX-License-Identifier: Apache-2.0
// A controller over the fake platform with a small synced tree: for the
// controller's own tests, and for tests that break one thing and check what
// survives.
#pragma once

#include <gmock/gmock.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "status/finder_sync.h"
#include "support/fake_platform.h"

namespace quorbitz::testing {

class ControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.temp.makeFolder("Film/Footage");
    fake.temp.makeFolder("Other");
    fake.temp.write("Film/clip.mov", "x");
  }

  std::string root() const { return fake.temp.path() + "/Film"; }
  std::string footage() const { return root() + "/Footage"; }
  std::string clip() const { return root() + "/clip.mov"; }
  std::string statusPath() const { return fake.finderDir() + "/status.json"; }

  // The last good document: Footage locked, clip.mov synced.
  std::string goodDocument() const {
    return statusJson({rootJson(root(), R"(["Footage"])", R"(["clip.mov"])")});
  }
  // The document that follows: nothing locked or synced, a second root. No
  // white space after its last "}", so every shorter prefix is broken.
  std::string nextDocument() const {
    return statusJson({rootJson(root()), rootJson(fake.temp.path() + "/Other")}, 2);
  }

  void start() { controller = FinderSync::create(fake.platform()); }
  void startWithOneRoot() {
    fake.writeStatus(statusJson({rootJson(root())}));
    start();
  }
  // Loads the good document and hands out the two badges it decides.
  void startWithGoodDocument() {
    fake.writeStatus(goodDocument());
    start();
    controller->requestBadgeIdentifierForURL(footage());
    controller->requestBadgeIdentifierForURL(clip());
    logs();
    calls();
  }

  void expectGoodDocumentInForce() {
    EXPECT_THAT(fake.finder.watched.value_or(std::vector<std::string>{}),
                ::testing::ElementsAre(root()));
    controller->requestBadgeIdentifierForURL(footage());
    controller->requestBadgeIdentifierForURL(clip());
    EXPECT_THAT(calls(), ::testing::ElementsAre("setBadgeIdentifier locked " + footage() + "/",
                                                "setBadgeIdentifier synced " + clip()));
  }

  void expectNextDocumentLoads() {
    fake.writeStatus(nextDocument());
    fake.tick();
    EXPECT_THAT(logs(), ::testing::ElementsAre("quorbitzFS: reload \u2014 2 roots"));
    EXPECT_THAT(calls(),
                ::testing::UnorderedElementsAre(
                    "setDirectoryURLs " + root() + " " + fake.temp.path() + "/Other",
                    "setBadgeIdentifier synced " + footage() + "/",
                    "setBadgeIdentifier pending " + clip()));
  }

  std::vector<std::string> logs() { return std::exchange(fake.systemLog.lines, {}); }
  std::vector<std::string> calls() { return std::exchange(fake.finder.calls, {}); }

  FakePlatform fake;
  std::shared_ptr<FinderSync> controller;
};

}  // namespace quorbitz::testing
