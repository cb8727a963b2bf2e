// SPDX-License-Identifier: Apache-2.0
#include "support/host_process.h"

#include <signal.h>

#include <gio/gio.h>

namespace quorbitz::testing {

HostProcess::HostProcess(const std::vector<std::string>& args,
                         const std::vector<std::string>& environment) {
  GSubprocessLauncher* launcher = g_subprocess_launcher_new(
      GSubprocessFlags(G_SUBPROCESS_FLAGS_STDIN_PIPE | G_SUBPROCESS_FLAGS_STDOUT_PIPE));
  // The lines the host logs are read from its events, never sent to syslog.
  g_subprocess_launcher_setenv(launcher, "QUORBITZ_NO_SYSLOG", "1", true);
  for (const std::string& entry : environment) {
    const size_t equals = entry.find('=');
    g_subprocess_launcher_setenv(launcher, entry.substr(0, equals).c_str(),
                                 entry.substr(equals + 1).c_str(), true);
  }
  std::vector<const char*> argv{"timeout", "300", QUORBITZ_HOST_BINARY};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  argv.push_back(nullptr);
  process_ = g_subprocess_launcher_spawnv(launcher, argv.data(), nullptr);
  g_object_unref(launcher);
  // A host that ended early closes its input; writing to it must not end the test.
  signal(SIGPIPE, SIG_IGN);
}

HostProcess::~HostProcess() {
  if (!process_) return;
  // `timeout` hands the signal on to the host.
  g_subprocess_send_signal(process_, SIGTERM);
  g_subprocess_wait(process_, nullptr, nullptr);
  g_object_unref(process_);
}

// Byte by byte, so that nothing read ahead is lost to finish().
bool HostProcess::waitFor(const std::string& prefix) {
  GInputStream* output = g_subprocess_get_stdout_pipe(process_);
  std::string line;
  for (char byte; g_input_stream_read(output, &byte, 1, nullptr, nullptr) == 1;) {
    if (byte != '\n') {
      line += byte;
    } else if (line.starts_with(prefix)) {
      return true;
    } else {
      line.clear();
    }
  }
  return false;
}

int HostProcess::finish(const std::string& input, std::string* output) {
  if (!process_) return -1;
  GBytes* written = g_bytes_new(input.data(), input.size());
  GBytes* read = nullptr;
  g_subprocess_communicate(process_, written, nullptr, &read, nullptr, nullptr);
  g_subprocess_wait(process_, nullptr, nullptr);
  if (output && read) {
    output->assign(static_cast<const char*>(g_bytes_get_data(read, nullptr)),
                   g_bytes_get_size(read));
  }
  g_bytes_unref(written);
  if (read) g_bytes_unref(read);
  return g_subprocess_get_if_exited(process_) ? g_subprocess_get_exit_status(process_) : -1;
}

int runHost(const std::vector<std::string>& args, std::string* output,
            const std::string& input, const std::vector<std::string>& environment) {
  return HostProcess(args, environment).finish(input, output);
}

}  // namespace quorbitz::testing
