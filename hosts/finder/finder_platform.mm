// SPDX-License-Identifier: Apache-2.0
#import "finder/finder_platform.h"

#import <AppKit/AppKit.h>
#import <FinderSync/FinderSync.h>
#import <Foundation/Foundation.h>
#include <dispatch/dispatch.h>

#include <functional>
#include <memory>
#include <utility>

#import "finder/appkit_drawing.h"
#import "finder/ns_text.h"
#include "platform/posix/posix_file_system.h"

namespace quorbitz::finder {
namespace {

std::vector<std::string> pathsOf(id<NSFastEnumeration> urls) {
  std::vector<std::string> paths;
  for (NSURL* url in urls) {
    if (std::optional<std::string> path = pathOf(url)) paths.push_back(std::move(*path));
  }
  return paths;
}

class FinderSyncController final : public FinderController {
 public:
  std::optional<std::vector<std::string>> directoryURLs() override {
    NSSet<NSURL*>* urls = [FIFinderSyncController defaultController].directoryURLs;
    if (!urls) return std::nullopt;
    return pathsOf(urls);
  }

  void setDirectoryURLs(const std::vector<std::string>& paths) override {
    NSMutableSet<NSURL*>* urls = [NSMutableSet setWithCapacity:paths.size()];
    for (const std::string& path : paths) {
      if (NSURL* url = fileURL(path, true)) [urls addObject:url];
    }
    [FIFinderSyncController defaultController].directoryURLs = urls;
  }

  void setBadgeImage(const ImageRef& image, std::string_view label,
                     std::string_view identifier) override {
    NSImage* picture = nsImageOf(image);
    NSString* badgeID = nsString(identifier);
    if (!picture || !badgeID) return;
    [[FIFinderSyncController defaultController] setBadgeImage:picture
                                                        label:nsString(label)
                                           forBadgeIdentifier:badgeID];
  }

  void setBadgeIdentifier(std::string_view identifier, std::string_view itemPath,
                          bool isFolder) override {
    NSString* badgeID = nsString(identifier);
    NSURL* url = fileURL(itemPath, isFolder);
    if (!badgeID || !url) return;
    [[FIFinderSyncController defaultController] setBadgeIdentifier:badgeID forURL:url];
  }

  // The Finder keeps a badge until told otherwise; no identifier clears it.
  void badgeWithdrawn(std::string_view itemPath, bool isFolder) override {
    setBadgeIdentifier("", itemPath, isFolder);
  }

  std::optional<std::vector<std::string>> selectedItemURLs() override {
    NSArray<NSURL*>* urls = [[FIFinderSyncController defaultController] selectedItemURLs];
    if (!urls) return std::nullopt;
    return pathsOf(urls);
  }

  std::optional<std::string> targetedURL() override {
    return pathOf([[FIFinderSyncController defaultController] targetedURL]);
  }
};

// macOS gives a container's URL for any group, one the extension may not
// use included: only a folder that is there and can be reached counts.
class SecurityGroupContainers final : public GroupContainers {
 public:
  explicit SecurityGroupContainers(FileSystem& files) : files_(files) {}

  std::optional<std::string> containerPath(std::string_view groupIdentifier) override {
    NSString* group = nsString(groupIdentifier);
    if (!group) return std::nullopt;
    std::optional<std::string> path = pathOf([NSFileManager.defaultManager
        containerURLForSecurityApplicationGroupIdentifier:group]);
    if (!path || !files_.isDirectory(*path)) return std::nullopt;
    return path;
  }

 private:
  FileSystem& files_;
};

class NSLogSystemLog final : public SystemLog {
 public:
  void log(std::string_view line) override {
    NSString* text = nsString(line);
    NSLog(@"%@", text ? text : @"quorbitzFS: (a log line that is not UTF-8)");
  }
};

class GeneralPasteboard final : public Pasteboard {
 public:
  void clearContents() override { [NSPasteboard.generalPasteboard clearContents]; }
  bool setString(std::string_view text) override {
    NSString* string = nsString(text);
    return string && [NSPasteboard.generalPasteboard setString:string
                                                       forType:NSPasteboardTypeString];
  }
};

// Blocks run on the main thread. They come from the controller, which
// catches what it can throw; the catch here keeps anything else out of the
// system's run loop.
class MainRunLoop final : public RunLoop {
 public:
  // On the main run loop whichever thread asks, and in its common modes, so
  // that ticks go on while a menu is tracked or a window resized. The run
  // loop alone keeps the timer, for the life of the process.
  void scheduleRepeatingTimer(std::chrono::milliseconds interval,
                              std::function<void()> block) override {
    NSTimer* timer =
        [NSTimer timerWithTimeInterval:std::chrono::duration<double>(interval).count()
                               repeats:YES
                                 block:^(NSTimer*) {
                                   runGuarded(block);
                                 }];
    // A run loop takes timers only from its own thread.
    if (NSThread.isMainThread) {
      [NSRunLoop.mainRunLoop addTimer:timer forMode:NSRunLoopCommonModes];
    } else {
      dispatch_async(dispatch_get_main_queue(), ^{
        [NSRunLoop.mainRunLoop addTimer:timer forMode:NSRunLoopCommonModes];
      });
    }
  }

  void dispatchToMain(std::function<void()> work) override {
    dispatch_async(dispatch_get_main_queue(), ^{
      runGuarded(work);
    });
  }

  // Reading and decoding a large status.json must not hold up the Finder's
  // windows; the controller starts one such load at a time.
  void dispatchToBackground(std::function<void()> work) override {
    dispatch_async(dispatch_get_global_queue(QOS_CLASS_UTILITY, 0), ^{
      runGuarded(work);
    });
  }

 private:
  static void runGuarded(const std::function<void()>& block) noexcept {
    try {
      block();
    } catch (...) {
    }
  }
};

struct FinderServices {
  FinderSyncController finder;
  std::unique_ptr<FileSystem> files = newPosixFileSystem();
  SecurityGroupContainers containers{*files};
  NSLogSystemLog systemLog;
  GeneralPasteboard pasteboard;
  MainRunLoop runLoop;
  AppKitDrawing drawing;
};

}  // namespace

Platform finderPlatform() {
  // The Finder is told at once that nothing is watched, until a status file
  // names the roots; once per process, so that an extension object made
  // later does not take the roots away while its first load runs.
  static FinderServices* services = [] {
    auto* made = new FinderServices;
    made->finder.setDirectoryURLs({});
    return made;
  }();
  return {services->finder,     services->containers, *services->files, services->systemLog,
          services->pasteboard, services->runLoop,    services->drawing};
}

}  // namespace quorbitz::finder
