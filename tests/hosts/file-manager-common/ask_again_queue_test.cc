// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/ask_again_queue.h"

#include <glib.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <set>

namespace quorbitz {
namespace {

std::vector<std::string> told;
std::vector<int64_t> toldAt;
std::vector<std::optional<std::string>> pushedWith;
std::function<void(const std::string&)> whenTold;

void tell(const std::string& path, const std::optional<std::string>& pushed) {
  told.push_back(path);
  toldAt.push_back(g_get_monotonic_time());
  pushedWith.push_back(pushed);
  if (whenTold) whenTold(path);
}

std::string pathNumber(int number) { return "/d/" + std::to_string(10000 + number); }

// Runs the main loop until a round is under way, then queues `last` behind it
// and runs until `last` was told, a bounded number of turns.
bool handOverAllThen(AskAgainQueue& queue, const std::string& last) {
  bool queued = false;
  for (int turn = 0; turn < 10000; ++turn) {
    if (!queued && !told.empty()) {
      queue.add(last);
      queued = true;
    }
    if (queued && std::find(told.begin(), told.end(), last) != told.end()) return true;
    g_main_context_iteration(nullptr, TRUE);
  }
  return false;
}

// What the file manager gathers between two of its frames is redrawn as one
// rectangle, so items handed over close together must not be close together
// in its window, where names follow each other.
TEST(AskAgainQueue, HandsOverNeighboursByNameFarApart) {
  told.clear();
  AskAgainQueue queue(&tell);
  std::vector<int> numbers(1000);
  std::iota(numbers.begin(), numbers.end(), 0);
  // Changes come in no particular order.
  std::shuffle(numbers.begin(), numbers.end(), std::mt19937(1));
  for (int number : numbers) queue.add(pathNumber(number));
  ASSERT_TRUE(handOverAllThen(queue, pathNumber(1000)));
  std::vector<int> ranks;
  for (const std::string& path : told) ranks.push_back(std::stoi(path.substr(3)) - 10000);
  ASSERT_EQ(std::set<int>(ranks.begin(), ranks.end()).size(), 1001u);

  // Any 32 told one after the other hold at most 2 of any 16 names in a row.
  for (size_t start = 0; start + 32 <= 1000; ++start) {
    std::map<int, int> perSixteen;
    for (size_t index = start; index < start + 32; ++index) {
      for (int first = ranks[index] - 15; first <= ranks[index]; ++first) ++perSixteen[first];
    }
    for (const auto& [first, count] : perSixteen) ASSERT_LE(count, 2) << first << ", " << start;
  }
}

TEST(AskAgainQueue, TellsEachWaitingPathOnceAndSkipsWhatWasAskedMeanwhile) {
  told.clear();
  AskAgainQueue queue(&tell);
  for (int number = 0; number < 10; ++number) queue.add(pathNumber(number));
  queue.add(pathNumber(3));
  queue.drop(pathNumber(4));
  queue.drop(pathNumber(5));
  queue.add(pathNumber(5));
  // The first answer changes the item itself again, a later one of the same
  // round, and one beyond it.
  whenTold = [&queue](const std::string& path) {
    if (path != pathNumber(0) || told.size() > 1) return;
    for (int number : {0, 9, 10}) queue.add(pathNumber(number));
  };
  ASSERT_TRUE(handOverAllThen(queue, pathNumber(11)));
  whenTold = nullptr;

  std::map<std::string, int> times, expected;
  for (const std::string& path : told) ++times[path];
  for (int number : {0, 0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11}) ++expected[pathNumber(number)];
  EXPECT_EQ(times, expected);
}

// The file manager updates what changed once every tenth of a second or so,
// and that update must stay short however much is queued.
TEST(AskAgainQueue, HandsOverNoMoreInATenthOfASecondThanOneUpdateTakes) {
  told.clear();
  toldAt.clear();
  AskAgainQueue queue(&tell);
  for (int number = 0; number < 5000; ++number) queue.add(pathNumber(number));
  for (int turn = 0; turn < 10000 && told.size() < 5000; ++turn)
    g_main_context_iteration(nullptr, TRUE);
  ASSERT_EQ(told.size(), 5000u);
  // A turn's items are told within its few milliseconds, after its start.
  size_t first = 0;
  for (size_t last = 0; last < toldAt.size(); ++last) {
    while (toldAt[last] - toldAt[first] >= 90000) ++first;
    ASSERT_LE(last - first + 1, 1200u) << "told by " << toldAt[last] - toldAt[0] << " us";
  }
}

std::vector<std::string> inSight() { return {"10500", "10007", "elsewhere"}; }

// What the user sees goes first, all in the first turn, and every item is
// told with the badge last pushed for it.
TEST(AskAgainQueue, TellsTheItemsInSightFirstWithTheirPushedBadges) {
  told.clear();
  toldAt.clear();
  pushedWith.clear();
  AskAgainQueue queue(&tell, &inSight);
  for (int number = 0; number < 1000; ++number) {
    queue.add(pathNumber(number), "synced");
    queue.add(pathNumber(number), std::string(number % 2 ? "pending" : ""));
  }
  queue.add("/e/10500");  // same name, a folder with no answer pushed
  ASSERT_TRUE(handOverAllThen(queue, pathNumber(1000)));
  ASSERT_GE(told.size(), 3u);
  EXPECT_THAT(
      std::vector<std::string>(told.begin(), told.begin() + 3),
      ::testing::UnorderedElementsAre(pathNumber(500), pathNumber(7), "/e/10500"));
  // The rest stay off the file manager's update of those (a turn later
  // without the wait; the bound leaves room for a busy machine).
  EXPECT_GE(toldAt[3] - toldAt[2], 60000);
  // The last path queued is told early in its round; a slow machine needs
  // more than one turn for the rest.
  const int64_t deadline = g_get_monotonic_time() + 10 * G_USEC_PER_SEC;
  while (told.size() < 1002 && g_get_monotonic_time() < deadline) {
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
  }
  EXPECT_EQ(told.size(), 1002u);
  for (size_t index = 0; index < told.size(); ++index) {
    const std::string& path = told[index];
    const bool none = path.starts_with("/e/") || path == pathNumber(1000);
    const std::optional<std::string> badge = std::stoi(path.substr(3)) % 2 ? "pending" : "";
    EXPECT_EQ(pushedWith[index], none ? std::nullopt : badge) << path;
  }
}

}  // namespace
}  // namespace quorbitz
