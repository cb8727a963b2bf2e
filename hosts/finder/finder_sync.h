// SPDX-License-Identifier: Apache-2.0
// The extension's principal class (Info.plist names it): the Finder creates
// one when it loads the extension and calls it for badges, menus, the toolbar
// item and the menu actions. It owns the controller and forwards each call to
// it. These are all the calls, in the controller's order.
#pragma once

#import <AppKit/AppKit.h>
#import <FinderSync/FinderSync.h>

NS_ASSUME_NONNULL_BEGIN

@interface FinderSync : FIFinderSync

- (instancetype)init NS_DESIGNATED_INITIALIZER;

- (void)beginObservingDirectoryAtURL:(NSURL*)url;
- (void)endObservingDirectoryAtURL:(NSURL*)url;
- (void)requestBadgeIdentifierForURL:(NSURL*)url;

@property(copy, readonly) NSString* toolbarItemName;
@property(copy, readonly) NSString* toolbarItemToolTip;
@property(copy, readonly) NSImage* toolbarItemImage;

- (nullable NSMenu*)menuForMenuKind:(FIMenuKind)menuKind;

// The menu items' actions. Each ignores its sender: it acts on the Finder's
// selection, else the item the menu was opened on.
- (IBAction)keepLocal:(nullable id)sender;
- (IBAction)toggleLock:(nullable id)sender;
- (IBAction)importResolve:(nullable id)sender;
- (IBAction)syncNow:(nullable id)sender;
- (IBAction)copyLink:(nullable id)sender;
- (IBAction)setMasters:(nullable id)sender;
- (IBAction)setReview:(nullable id)sender;
- (IBAction)followLink:(nullable id)sender;
- (IBAction)folderLink:(nullable id)sender;
- (IBAction)uploadLink:(nullable id)sender;

@end

NS_ASSUME_NONNULL_END
