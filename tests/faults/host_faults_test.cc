// The real host, after a good load, over damaged status files and fed odd
// paths: it keeps the roots it had, keeps answering and ends normally.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "support/fake_platform.h"

extern char** environ;

namespace quorbitz::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// Starts the host with `args`, its standard input and output on `in` and `out`.
pid_t spawnHost(std::vector<std::string> args, int in, int out, char** envp = environ) {
  args.insert(args.begin(), QUORBITZ_HOST_BINARY);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in, 0);
  posix_spawn_file_actions_adddup2(&actions, out, 1);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int exitStatusOf(pid_t pid) {
  int status = -1;
  if (pid > 0) waitpid(pid, &status, 0);
  return status;
}

// `quorbitz-finder run --container DIR --no-timer`, driven through pipes.
class Host {
 public:
  explicit Host(const std::string& container) {
    int input[2], output[2];
    if (pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0) return;
    pid_ =
        spawnHost({"run", "--container", container, "--no-timer"}, input[0], output[1]);
    ::close(input[0]);
    ::close(output[1]);
    in_ = input[1];
    out_ = output[0];
  }
  ~Host() { finish(); }

  // Sends `lines` and an echo; the events up to its answer or the host's end.
  std::string send(const std::string& lines) {
    const std::string marker = "marker " + std::to_string(++markers_);
    const std::string bytes = lines + "echo " + marker + "\n";
    const std::string answer = "echo \"" + marker + "\"\n";
    if (::write(in_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
      return {};
    std::string events;
    char buffer[4096];
    for (ssize_t got;
         !events.ends_with(answer) && (got = ::read(out_, buffer, sizeof buffer)) > 0;) {
      events.append(buffer, static_cast<size_t>(got));
    }
    return events;
  }
  // Ends the input and waits: the exit status.
  int finish() {
    if (in_ >= 0) ::close(std::exchange(in_, -1));
    if (out_ >= 0) ::close(std::exchange(out_, -1));
    if (pid_ > 0) status_ = exitStatusOf(std::exchange(pid_, -1));
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int in_ = -1, out_ = -1, markers_ = 0, status_ = -1;
};

TEST(HostFaults, DamagedStatusFilesAndOddPathsLeaveTheHostAnswering) {
  TempDir temp;
  const std::string container = temp.path() + "/container";
  const std::string statusPath = container + "/finder/status.json";
  const std::string root = temp.path() + "/Film";
  fs::create_directories(root + "/odd 'name' \\ \"q\"");
  temp.write("Film/bad-\xFF.mov", "x");
  const std::string good =
      R"({"version":1,"roots":[{"path":")" + root +
      R"(","direction":"up","label":"L","link":"l","can_lock":true,)"
      R"("can_mint_links":true,"kept_local":[],"locked":[],"synced":[]}]})";
  const std::vector<std::pair<std::string, std::function<void()>>> damages = {
      {"torn", [&] { temp.write("container/finder/status.json", good.substr(0, 57)); }},
      {"binary",
       [&] {
         temp.write("container/finder/status.json", {"\0\xFF{[\"", 5});
       }},
      {"folder", [&] { fs::create_directories(statusPath); }},
      {"fifo", [&] { mkfifo(statusPath.c_str(), 0644); }},
  };
  const std::string badFile = "'" + root + "/bad-\xFF.mov'";
  const std::string oddFolder = "\"" + root + "/odd 'name' \\\\ \\\"q\\\"\"";
  std::string oddPaths;
  for (const std::string& call :
       {"ls " + root, "badge " + badFile, "badge " + root + "/" + std::string(5000, 'x'),
        "select " + badFile, std::string("menu 0\nclick 1\naction keepLocal:\nselect"),
        "target " + oddFolder, std::string("menu 1\nclick 2\nmenu 7\nclick 99"),
        std::string("bogus \"unterminated")}) {
    oddPaths += call + "\n";
  }
  for (const auto& [name, damage] : damages) {
    SCOPED_TRACE(name);
    fs::remove_all(container);
    temp.write("container/finder/status.json", good);
    struct timespec longAgo[2] = {{1'700'000'000, 0}, {1'700'000'000, 0}};
    utimensat(AT_FDCWD, statusPath.c_str(), longAgo, 0);

    Host host(container);
    EXPECT_THAT(host.send(""), HasSubstr("quorbitzFS: reload \u2014 1 roots"));
    fs::remove_all(statusPath);
    damage();
    std::string events = host.send("tick\n" + oddPaths);
    EXPECT_THAT(events, HasSubstr("log \"quorbitzFS: reload \u2014 "));
    EXPECT_THAT(events, HasSubstr("menu \"Quorbitz\"\nitem 1 \"Keep Local on This Mac\""))
        << "the roots of the good document stay in force";
    EXPECT_THAT(events, HasSubstr("echo \"marker 2\""));
    int status = host.finish();
    ASSERT_TRUE(WIFEXITED(status)) << events;
    EXPECT_EQ(WEXITSTATUS(status), 0) << events;
  }
}

TEST(HostFaults, DemoWithATemporaryFolderThatIsMissingStillRuns) {
  TempDir temp;
  std::string tmpdir = "TMPDIR=" + temp.path() + "/missing";
  char* envp[] = {tmpdir.data(), nullptr};
  int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  int status = exitStatusOf(spawnHost({"demo"}, devNull, devNull, envp));
  ::close(devNull);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace quorbitz::testing
