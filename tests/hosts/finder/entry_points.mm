// SPDX-License-Identifier: Apache-2.0
// Every call the Finder makes into the extension, compiled together with the
// principal class's source under -Wselector -Werror: a call in this table
// that the class does not implement fails the build. The calls are declared
// here first, as required methods, because the Finder's own protocol declares
// them optional, and the compiler asks no implementation of those. It counts
// the protocol's toolbar properties as implemented all the same; the class's
// own declaration of them, unimplemented, is an error of its own.
@protocol FinderCalls
- (id)init;
- (void)beginObservingDirectoryAtURL:(id)url;
- (void)endObservingDirectoryAtURL:(id)url;
- (void)requestBadgeIdentifierForURL:(id)url;
- (id)toolbarItemName;
- (id)toolbarItemToolTip;
- (id)toolbarItemImage;
- (id)menuForMenuKind:(unsigned long)menuKind;
@end

#include "finder/finder_sync.mm"

#include <algorithm>
#include <array>
#include <string_view>

#include "menu/selectors.h"

// The actions, in the controller's order; the menu finds them by these names.
#define QUORBITZ_FINDER_ACTIONS(X)                                                        \
  X(keepLocal:) X(toggleLock:) X(importResolve:) X(syncNow:) X(copyLink:) X(setMasters:) \
      X(setReview:) X(followLink:) X(folderLink:) X(uploadLink:)
#define QUORBITZ_NAME(name) std::string_view(#name),
#define QUORBITZ_SELECTOR(name) @selector(name),

constexpr std::array kActionNames{QUORBITZ_FINDER_ACTIONS(QUORBITZ_NAME)};
static_assert(std::equal(kActionNames.begin(), kActionNames.end(),
                         quorbitz::kSelectorNames.begin(), quorbitz::kSelectorNames.end()),
              "the menu names an action the principal class does not have");

[[maybe_unused]] static const SEL kFinderCalls[] = {
    @selector(init),
    @selector(beginObservingDirectoryAtURL:),
    @selector(endObservingDirectoryAtURL:),
    @selector(requestBadgeIdentifierForURL:),
    @selector(toolbarItemName),
    @selector(toolbarItemToolTip),
    @selector(toolbarItemImage),
    @selector(menuForMenuKind:),
    QUORBITZ_FINDER_ACTIONS(QUORBITZ_SELECTOR)};
