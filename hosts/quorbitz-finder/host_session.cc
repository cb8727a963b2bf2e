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

bool HostSession::execute(std::string line) {
  // Input written on another system ends its lines with CR LF.
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (ignoredLine(line)) return true;
  if (line.find('\0') != std::string::npos) {
    // The splitter would end the line at the NUL and run what came before.
    error("the line holds a NUL byte");
    events_.flush();
    return true;
  }
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
  // A read error (standard input closed, a folder, write-only) ends the input
  // like its end does.
  if (got <= 0) {
    session->inputEnded_ = true;
    session->inputSource_ = 0;
    if (!session->partialLine_.empty() && !session->skippingLongLine_) {
      session->pendingLines_.push_back(std::move(session->partialLine_));
    }
    session->partialLine_.clear();
    session->processPendingLines();
    return G_SOURCE_REMOVE;
  }
  session->takeInput(std::string_view(buffer, static_cast<size_t>(got)));
  session->processPendingLines();
  return G_SOURCE_CONTINUE;
}

void HostSession::takeInput(std::string_view bytes) {
  // Only the new bytes are searched, so a long line costs time in
  // proportion to its length, and no line grows past the limit.
  while (!bytes.empty()) {
    const size_t newline = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, newline);
    if (!skippingLongLine_) {
      if (partialLine_.size() + piece.size() > kLongestLine) {
        pendingLines_.push_back(std::nullopt);
        partialLine_.clear();
        skippingLongLine_ = true;
      } else {
        partialLine_.append(piece);
      }
    }
    if (newline == std::string_view::npos) return;
    if (!skippingLongLine_) pendingLines_.push_back(std::move(partialLine_));
    partialLine_.clear();
    skippingLongLine_ = false;
    bytes.remove_prefix(newline + 1);
  }
}

void HostSession::processPendingLines() {
  while (!sleeping_ && !quitting_ && !pendingLines_.empty()) {
    std::optional<std::string> line = std::move(pendingLines_.front());
    pendingLines_.pop_front();
    if (!line) {
      error("the line is longer than " + std::to_string(kLongestLine) +
            " bytes; it was skipped");
      events_.flush();
    } else if (!execute(std::move(*line))) {
      quitting_ = true;
    }
  }
  if (quitting_ || (inputEnded_ && !sleeping_ && pendingLines_.empty())) finish();
}

void HostSession::finish() {
  if (mainLoop_) g_main_loop_quit(static_cast<GMainLoop*>(mainLoop_));
}

}  // namespace quorbitz::host
