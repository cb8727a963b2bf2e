// SPDX-License-Identifier: Apache-2.0
#include "support/host_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quorbitz::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (auto& text : strings) result.push_back(text.data());
  result.push_back(nullptr);
  return result;
}

}  // namespace

HostProcess::HostProcess(const std::vector<std::string>& args,
                         const std::vector<std::string>& environment) {
  int toChild[2], fromChild[2];
  // pipe2 is Linux's; the descriptors are marked one by one, before any
  // child is spawned, so none leaks into it.
  if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
  for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]}) {
    fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
  posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
  std::vector<std::string> argv{QUORBITZ_HOST_BINARY};
  argv.insert(argv.end(), args.begin(), args.end());
  // The added entries come first: the first of two equal names wins. The
  // lines the host logs are read from its events, never sent to syslog.
  std::vector<std::string> env = environment;
  env.emplace_back("QUORBITZ_NO_SYSLOG=1");
  for (char** entry = environ; *entry; ++entry) env.emplace_back(*entry);
  posix_spawn(&pid_, argv[0].c_str(), &actions, nullptr, pointers(argv).data(),
              pointers(env).data());
  posix_spawn_file_actions_destroy(&actions);
  close(toChild[0]);
  close(fromChild[1]);
  input_ = toChild[1];
  output_ = fromChild[0];
  signal(SIGPIPE, SIG_IGN);
}

HostProcess::~HostProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (input_ >= 0) close(input_);
  if (output_ >= 0) close(output_);
}

std::optional<std::string> HostProcess::readLine(Clock::time_point deadline) {
  while (buffered_.find('\n') == std::string::npos) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd ready{output_, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
    char chunk[4096];
    const ssize_t got = read(output_, chunk, sizeof chunk);
    if (got <= 0) return std::nullopt;
    buffered_.append(chunk, static_cast<size_t>(got));
  }
  std::string line = buffered_.substr(0, buffered_.find('\n'));
  buffered_.erase(0, line.size() + 1);
  return line;
}

bool HostProcess::waitFor(const std::string& prefix, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (std::optional<std::string> line = readLine(deadline)) {
    if (line->starts_with(prefix)) return true;
  }
  return false;
}

int HostProcess::finish(const std::string& input, std::string* output) {
  // A host that ended early takes no input; its exit status tells why.
  [[maybe_unused]] const ssize_t written = write(input_, input.data(), input.size());
  close(input_);
  input_ = -1;
  // Read to the end, so that the host never blocks on a full pipe.
  std::string collected;
  while (std::optional<std::string> line =
             readLine(Clock::now() + std::chrono::seconds(20))) {
    collected += *line + "\n";
  }
  if (output) *output = collected;
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int runHost(const std::vector<std::string>& args, std::string* output,
            const std::string& input, const std::vector<std::string>& environment) {
  return HostProcess(args, environment).finish(input, output);
}

}  // namespace quorbitz::testing
