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
  // Starts `quorbitz-finder args...` with `environment` added to this
  // process's environment, taking precedence over it.
  explicit HostProcess(const std::vector<std::string>& args,
                       const std::vector<std::string>& environment = {});
  ~HostProcess();
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  // Reads until a line starting with `prefix` arrives; false when none came
  // in time.
  bool waitFor(const std::string& prefix, std::chrono::milliseconds timeout);
  // Writes `input` and closes standard input, then reads the rest of the
  // output, keeping it in `output` when given, and returns the exit status.
  int finish(const std::string& input = "", std::string* output = nullptr);

 private:
  std::optional<std::string> readLine(std::chrono::steady_clock::time_point deadline);

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
