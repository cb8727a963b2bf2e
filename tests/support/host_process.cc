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

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (auto& text : strings) result.push_back(text.data());
  result.push_back(nullptr);
  return result;
}

int millisecondsUntil(Clock::time_point deadline) {
  return static_cast<int>(
      std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count());
}

}  // namespace

HostProcess::HostProcess(const std::vector<std::string>& args,
                         const std::vector<std::string>& environment) {
  int toChild[2], fromChild[2];
  if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) return;
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
  auto argvPointers = pointers(argv);
  auto envPointers = pointers(env);
  posix_spawn(&pid_, argv[0].c_str(), &actions, nullptr, argvPointers.data(),
              envPointers.data());
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
  closeInput();
  if (output_ >= 0) close(output_);
}

void HostProcess::send(const std::string& text) {
  if (write(input_, text.data(), text.size()) < 0) return;
}

std::optional<std::string> HostProcess::readLine(milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (buffered_.find('\n') == std::string::npos) {
    pollfd ready{output_, POLLIN, 0};
    if (millisecondsUntil(deadline) <= 0) return std::nullopt;
    if (poll(&ready, 1, millisecondsUntil(deadline)) <= 0) continue;
    char chunk[4096];
    ssize_t got = read(output_, chunk, sizeof chunk);
    if (got <= 0) return std::nullopt;
    buffered_.append(chunk, static_cast<size_t>(got));
  }
  std::string line = buffered_.substr(0, buffered_.find('\n'));
  buffered_.erase(0, line.size() + 1);
  return line;
}

bool HostProcess::waitFor(const std::string& prefix, milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (std::optional<std::string> line = readLine(
             std::chrono::duration_cast<milliseconds>(deadline - Clock::now()))) {
    if (line->starts_with(prefix)) return true;
  }
  return false;
}

void HostProcess::closeInput() {
  if (input_ >= 0) close(input_);
  input_ = -1;
}

int HostProcess::finish() {
  closeInput();
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int runHost(const std::vector<std::string>& args, std::string* output,
            const std::string& input, const std::vector<std::string>& environment) {
  HostProcess host(args, environment);
  host.send(input);
  host.closeInput();
  std::string collected;
  while (std::optional<std::string> line = host.readLine(std::chrono::seconds(20))) {
    collected += *line + "\n";
  }
  if (output) *output = collected;
  return host.finish();
}

}  // namespace quorbitz::testing
