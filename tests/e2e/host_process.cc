#include "e2e/host_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace quorbitz::testing {
namespace {

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
  if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
  posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
  posix_spawn_file_actions_addclose(&actions, toChild[1]);
  posix_spawn_file_actions_addclose(&actions, fromChild[0]);

  std::vector<std::string> argv{QUORBITZ_HOST_BINARY};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> env;
  for (char** entry = environ; *entry; ++entry) env.emplace_back(*entry);
  env.insert(env.end(), environment.begin(), environment.end());
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
  if (input_ >= 0) close(input_);
  if (output_ >= 0) close(output_);
}

void HostProcess::send(const std::string& line) {
  std::string text = line + "\n";
  if (write(input_, text.data(), text.size()) < 0) return;
}

std::optional<std::string> HostProcess::readLine(std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    size_t newline = buffered_.find('\n');
    if (newline != std::string::npos) {
      std::string line = buffered_.substr(0, newline);
      buffered_.erase(0, newline + 1);
      return line;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd ready{output_, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
    char chunk[4096];
    ssize_t got = read(output_, chunk, sizeof chunk);
    if (got <= 0) return std::nullopt;
    buffered_.append(chunk, static_cast<size_t>(got));
  }
}

std::vector<std::string> HostProcess::linesUntilEcho(const std::string& mark) {
  send("echo " + mark);
  std::vector<std::string> lines;
  const std::string answer = "echo \"" + mark + "\"";
  while (std::optional<std::string> line = readLine()) {
    if (*line == answer) break;
    lines.push_back(*line);
  }
  return lines;
}

std::optional<std::string> HostProcess::waitFor(const std::string& prefix,
                                                std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    std::optional<std::string> line = readLine(left);
    if (!line) return std::nullopt;
    if (line->starts_with(prefix)) return line;
  }
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
  if (!input.empty()) host.send(input);
  host.closeInput();
  std::string collected;
  while (std::optional<std::string> line = host.readLine(std::chrono::seconds(20))) {
    collected += *line + "\n";
  }
  if (output) *output = collected;
  return host.finish();
}

}  // namespace quorbitz::testing
