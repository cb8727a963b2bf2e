// SPDX-License-Identifier: Apache-2.0
#include "host_session.h"

#include <glib-unix.h>
#include <glib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "status/finder_sync.h"

namespace quorbitz::host {

HostSession::HostSession(const HostOptions& options, std::FILE* out)
    : events_(out), platform_(options, events_) {}

HostSession::~HostSession() {
  if (inputSource_) g_source_remove(static_cast<guint>(inputSource_));
  if (mainLoop_) g_main_loop_unref(static_cast<GMainLoop*>(mainLoop_));
}

namespace {

std::optional<std::vector<std::string>> splitWords(const std::string& line,
                                                   std::string* failure) {
  gint count = 0;
  gchar** words = nullptr;
  GError* error = nullptr;
  if (!g_shell_parse_argv(line.c_str(), &count, &words, &error)) {
    bool empty = g_error_matches(error, G_SHELL_ERROR, G_SHELL_ERROR_EMPTY_STRING);
    if (!empty) *failure = error->message;
    g_error_free(error);
    if (empty) return std::vector<std::string>{};
    return std::nullopt;
  }
  std::vector<std::string> result(words, words + count);
  g_strfreev(words);
  return result;
}

bool ignoredLine(const std::string& line) {
  size_t first = line.find_first_not_of(" \t\r");
  return first == std::string::npos || line[first] == '#';
}

}  // namespace

bool HostSession::execute(const std::string& line) {
  if (ignoredLine(line)) return true;
  std::string failure;
  std::optional<std::vector<std::string>> words = splitWords(line, &failure);
  if (!words) {
    error("cannot split the line: " + failure);
  } else if (!words->empty()) {
    std::string name = words->front();
    words->erase(words->begin());
    if (name == "quit") return false;
    runCommand(name, *words);
  }
  events_.flush();
  return true;
}

void HostSession::error(const std::string& message) {
  events_.line("error", {jsonLiteral(message)});
}

int HostSession::run(int inputFd) {
  platform_.runLoop().setAfterQueueDrained([this] { events_.flush(); });
  controller_ = FinderSync::create(platform_.platform());
  if (auto statusFile = platform_.statusFilePath()) {
    platform_.runLoop().watchFileForEarlyTicks(*statusFile);
  }
  events_.flush();

  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  mainLoop_ = loop;
  inputSource_ = static_cast<int>(g_unix_fd_add(
      inputFd, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
      [](gint fd, GIOCondition condition, gpointer self) -> gboolean {
        return HostSession::onInput(fd, condition, self);
      },
      this));
  g_main_loop_run(loop);
  events_.flush();
  return 0;
}

int HostSession::onInput(int fd, unsigned, void* self) {
  auto* session = static_cast<HostSession*>(self);
  char buffer[65536];
  ssize_t got;
  do {
    got = ::read(fd, buffer, sizeof buffer);
  } while (got < 0 && errno == EINTR);
  if (got <= 0) {
    session->inputEnded_ = true;
    session->inputSource_ = 0;
    if (!session->partialLine_.empty()) {
      session->pendingLines_.push_back(std::move(session->partialLine_));
      session->partialLine_.clear();
    }
    session->processPendingLines();
    return G_SOURCE_REMOVE;
  }
  session->partialLine_.append(buffer, static_cast<size_t>(got));
  size_t start = 0;
  for (size_t end; (end = session->partialLine_.find('\n', start)) != std::string::npos;
       start = end + 1) {
    session->pendingLines_.push_back(session->partialLine_.substr(start, end - start));
  }
  session->partialLine_.erase(0, start);
  session->processPendingLines();
  return G_SOURCE_CONTINUE;
}

void HostSession::processPendingLines() {
  while (!sleeping_ && !quitting_ && !pendingLines_.empty()) {
    std::string line = std::move(pendingLines_.front());
    pendingLines_.pop_front();
    if (!execute(line)) quitting_ = true;
  }
  if (quitting_ || (inputEnded_ && !sleeping_ && pendingLines_.empty())) finish();
}

void HostSession::finish() {
  if (mainLoop_) g_main_loop_quit(static_cast<GMainLoop*>(mainLoop_));
}

}  // namespace quorbitz::host
