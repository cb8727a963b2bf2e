// SPDX-License-Identifier: Apache-2.0
// Runs the quorbitz-finder binary as a user or a script would.
#pragma once

#include <string>
#include <vector>

typedef struct _GSubprocess GSubprocess;

namespace quorbitz::testing {

class HostProcess {
 public:
  // Starts `quorbitz-finder args...` with `environment` added to this
  // process's environment, taking precedence over it. A host still running
  // after five minutes is ended, so that no test waits for ever.
  explicit HostProcess(const std::vector<std::string>& args,
                       const std::vector<std::string>& environment = {});
  ~HostProcess();
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  // Reads until a line starting with `prefix` arrives; false when the output
  // ended first.
  bool waitFor(const std::string& prefix);
  // Writes `input` and closes standard input, then reads the rest of the
  // output, keeping it in `output` when given, and returns the exit status.
  int finish(const std::string& input = "", std::string* output = nullptr);

 private:
  GSubprocess* process_ = nullptr;
};

// Runs the binary to completion; returns its exit status and its output.
int runHost(const std::vector<std::string>& args, std::string* output,
            const std::string& input = "",
            const std::vector<std::string>& environment = {});

}  // namespace quorbitz::testing
