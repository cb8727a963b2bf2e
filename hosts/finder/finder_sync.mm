// SPDX-License-Identifier: Apache-2.0
#import "finder/finder_sync.h"

#include <dispatch/dispatch.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#import "finder/appkit_drawing.h"
#include "finder/finder_platform.h"
#import "finder/ns_text.h"
#include "menu/context_menu.h"
#include "status/finder_sync.h"

namespace {

using Controller = quorbitz::FinderSync;

// The Finder calls in from Objective-C, which no C++ exception may reach.
template <typename Call>
void guarded(Call&& call) noexcept {
  try {
    call();
  } catch (...) {
  }
}

// The controller runs on the main thread only, whichever thread the Finder
// calls in on. A call that answers, or that must see the Finder's selection
// while its menu item is chosen, waits for the main thread; one already on
// it runs at once, since waiting for itself would never end.
void onMainNow(const std::function<void()>& work) noexcept {
  if (NSThread.isMainThread) return guarded(work);
  const std::function<void()>* pending = &work;
  dispatch_sync(dispatch_get_main_queue(), ^{
    guarded(*pending);
  });
}

// A call that answers nothing is handed to the main thread and returns.
void onMainLater(std::function<void()> work) noexcept {
  if (NSThread.isMainThread) return guarded(work);
  guarded([&] {
    dispatch_async(dispatch_get_main_queue(), ^{
      guarded(work);
    });
  });
}

void forwardPath(const std::shared_ptr<Controller>& controller, NSURL* url,
                 void (Controller::*entry)(const std::string&)) noexcept {
  guarded([&] {
    std::optional<std::string> path = quorbitz::finder::pathOf(url);
    if (!controller || !path) return;
    onMainLater([controller, entry, path = std::move(*path)] { (controller.get()->*entry)(path); });
  });
}

void forwardAction(Controller* controller, void (Controller::*action)()) noexcept {
  onMainNow([&] {
    if (controller) (controller->*action)();
  });
}

NSString* forwardText(Controller* controller, std::string (Controller::*property)() const) {
  NSString* text = nil;
  onMainNow([&] {
    if (controller) text = quorbitz::finder::nsString((controller->*property)());
  });
  return text ? text : @"";
}

// One item per entry of the model, each naming the selector of its action
// with no target of its own, so that the Finder sends it to this object.
NSMenu* nsMenu(const quorbitz::MenuModel& model) {
  using quorbitz::finder::nsString;
  NSString* title = nsString(model.title);
  NSMenu* menu = [[NSMenu alloc] initWithTitle:title ? title : @""];
  for (const quorbitz::MenuItemModel& item : model.items) {
    NSString* itemTitle = nsString(item.title);
    NSString* selectorName = nsString(quorbitz::selectorName(item.action));
    if (!itemTitle || !selectorName) continue;
    NSMenuItem* added = [menu addItemWithTitle:itemTitle
                                        action:NSSelectorFromString(selectorName)
                                 keyEquivalent:@""];
    // Only the two role items show a state; the others keep the default, off.
    if (item.action == quorbitz::Selector::setMasters ||
        item.action == quorbitz::Selector::setReview) {
      [added setState:item.on ? NSControlStateValueOn : NSControlStateValueOff];
    }
  }
  return menu;
}

}  // namespace

@implementation FinderSync {
  std::shared_ptr<Controller> _controller;
}

- (instancetype)init {
  self = [super init];
  if (!self) return nil;
  // Registers the six badges, loads status.json once and starts the
  // 3-second polling timer, which holds the controller weakly: once this
  // object is gone its ticks reload nothing. Out of memory, the extension
  // stays without a controller and answers nothing.
  onMainNow([&] { _controller = Controller::create(quorbitz::finder::finderPlatform()); });
  return self;
}

- (void)beginObservingDirectoryAtURL:(NSURL*)url {
  forwardPath(_controller, url, &Controller::beginObservingDirectoryAtURL);
}

- (void)endObservingDirectoryAtURL:(NSURL*)url {
  forwardPath(_controller, url, &Controller::endObservingDirectoryAtURL);
}

- (void)requestBadgeIdentifierForURL:(NSURL*)url {
  forwardPath(_controller, url, &Controller::requestBadgeIdentifierForURL);
}

- (NSString*)toolbarItemName {
  return forwardText(_controller.get(), &Controller::toolbarItemName);
}

- (NSString*)toolbarItemToolTip {
  return forwardText(_controller.get(), &Controller::toolbarItemToolTip);
}

- (NSImage*)toolbarItemImage {
  NSImage* image = nil;
  onMainNow([&] {
    if (_controller) image = quorbitz::finder::nsImageOf(_controller->toolbarItemImage());
  });
  return image ? image : [[NSImage alloc] init];
}

- (NSMenu*)menuForMenuKind:(FIMenuKind)menuKind {
  NSMenu* menu = nil;
  onMainNow([&] {
    menu = nsMenu(_controller ? _controller->menuForMenuKind(menuKind) : quorbitz::emptyMenu());
  });
  return menu ? menu : [[NSMenu alloc] initWithTitle:@""];
}

- (IBAction)keepLocal:(id)sender {
  forwardAction(_controller.get(), &Controller::keepLocal);
}

- (IBAction)toggleLock:(id)sender {
  forwardAction(_controller.get(), &Controller::toggleLock);
}

- (IBAction)importResolve:(id)sender {
  forwardAction(_controller.get(), &Controller::importResolve);
}

- (IBAction)syncNow:(id)sender {
  forwardAction(_controller.get(), &Controller::syncNow);
}

- (IBAction)copyLink:(id)sender {
  forwardAction(_controller.get(), &Controller::copyLink);
}

- (IBAction)setMasters:(id)sender {
  forwardAction(_controller.get(), &Controller::setMasters);
}

- (IBAction)setReview:(id)sender {
  forwardAction(_controller.get(), &Controller::setReview);
}

- (IBAction)followLink:(id)sender {
  forwardAction(_controller.get(), &Controller::followLink);
}

- (IBAction)folderLink:(id)sender {
  forwardAction(_controller.get(), &Controller::folderLink);
}

- (IBAction)uploadLink:(id)sender {
  forwardAction(_controller.get(), &Controller::uploadLink);
}

@end
