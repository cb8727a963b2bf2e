// SPDX-License-Identifier: Apache-2.0
#include "gtk-common/ask_again_queue.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <set>

namespace quorbitz {
namespace {

std::vector<std::string> told;
std::function<void(const std::string&)> whenTold;

void tell(const std::string& path) {
  told.push_back(path);
  if (whenTold) whenTold(path);
}

std::string pathNumber(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "/d/f%04d.mov", number);
  return name;
}

// Runs the main loop until `path` was told, a bounded number of turns.
bool runUntilTold(const std::string& path) {
  for (int turn = 0; turn < 10000; ++turn) {
    if (std::find(told.begin(), told.end(), path) != told.end()) return true;
    g_main_context_iteration(nullptr, TRUE);
  }
  return false;
}

class AskAgainQueueTest : public testing::Test {
 protected:
  void SetUp() override { told.clear(); whenTold = nullptr; }
  void TearDown() override { whenTold = nullptr; }
  AskAgainQueue queue{&tell};
};

// What the file manager gathers between two of its frames is redrawn as one
// rectangle, so items handed over close together must not be close together
// in its window, where names follow each other.
TEST_F(AskAgainQueueTest, HandsOverNeighboursByNameFarApart) {
  constexpr int kPaths = 1000;
  std::vector<int> numbers(kPaths);
  std::iota(numbers.begin(), numbers.end(), 0);
  // Changes come in no particular order.
  std::shuffle(numbers.begin(), numbers.end(), std::mt19937(1));
  for (int number : numbers) queue.add(pathNumber(number));
  ASSERT_TRUE(runUntilTold(pathNumber(0)));
  queue.add("/d/last");
  ASSERT_TRUE(runUntilTold("/d/last"));
  ASSERT_EQ(told.size(), kPaths + 1u);
  std::vector<int> ranks;
  for (int index = 0; index < kPaths; ++index) ranks.push_back(std::stoi(told[index].substr(4)));
  ASSERT_EQ(std::set<int>(ranks.begin(), ranks.end()).size(), size_t{kPaths});

  // Any 32 told one after the other hold at most 2 of any 16 names in a row.
  for (size_t start = 0; start + 32 <= ranks.size(); ++start) {
    std::map<int, int> perSixteen;
    for (size_t index = start; index < start + 32; ++index) {
      for (int first = ranks[index] - 15; first <= ranks[index]; ++first) ++perSixteen[first];
    }
    for (const auto& [first, count] : perSixteen) {
      ASSERT_LE(count, 2) << "names " << first << "+16 among told " << start << "+32";
    }
  }
}

TEST_F(AskAgainQueueTest, TellsEachWaitingPathOnceAndSkipsWhatWasAskedMeanwhile) {
  for (int number = 0; number < 10; ++number) queue.add(pathNumber(number));
  queue.add(pathNumber(3));
  queue.drop(pathNumber(4));
  queue.drop(pathNumber(5));
  queue.add(pathNumber(5));
  // Answers that cause changes: the item itself again, a later one of the
  // same round, and one beyond it.
  bool reacted = false;
  whenTold = [this, &reacted](const std::string& path) {
    if (path != pathNumber(0) || reacted) return;
    reacted = true;
    queue.add(pathNumber(0));
    queue.add(pathNumber(9));
    queue.add("/d/later");
  };
  ASSERT_TRUE(runUntilTold("/d/later"));
  queue.add("/d/last");
  ASSERT_TRUE(runUntilTold("/d/last"));

  std::map<std::string, int> times;
  for (const std::string& path : told) ++times[path];
  EXPECT_EQ(times.count(pathNumber(4)), 0u);
  EXPECT_EQ(times[pathNumber(0)], 2);
  for (int number : {1, 2, 3, 5, 6, 7, 8, 9}) EXPECT_EQ(times[pathNumber(number)], 1);
  EXPECT_EQ(told.size(), 12u);
}

}  // namespace
}  // namespace quorbitz
