// SPDX-License-Identifier: Apache-2.0
// Runs the quorbitz-finder binary as a user or a script would.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace quorbitz::testing {

class HostProcess {
 public:
  static constexpr const char* kNoEcho = "(no answer to the echo)";
  // Starts `quorbitz-finder args...` with `environment` added to this
  // process's environment, taking precedence over it.
  explicit HostProcess(const std::vector<std::string>& args,
                       const std::vector<std::string>& environment = {});
  ~HostProcess();
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  void send(const std::string& line);
  // The next line of standard output, or nullopt when none came in time.
  std::optional<std::string> readLine(
      std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Sends "echo MARK" and returns every line before the echo's answer; the
  // last line is kNoEcho when the answer never came.
  std::vector<std::string> linesUntilEcho(const std::string& mark = "sync");
  // Reads until a line starting with `prefix` arrives; returns it.
  std::optional<std::string> waitFor(const std::string& prefix,
                                     std::chrono::milliseconds timeout);
  void closeInput();
  // Closes standard input and returns the exit status.
  int finish();

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string buffered_;
};

// Runs the binary to completion; returns its exit status and its output.
int runHost(const std::vector<std::string>& args, std::string* output,
            const std::string& input = "",
            const std::vector<std::string>& environment = {});

}  // namespace quorbitz::testing
