// SPDX-License-Identifier: Apache-2.0
// The part of the FinderSync framework the Finder host uses, declared from
// Apple's public documentation (pages under
// https://developer.apple.com/documentation/). See Foundation/Foundation.h
// for why this folder exists.
#pragma once

#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

NS_ASSUME_NONNULL_BEGIN

// findersync/fimenukind
typedef NS_ENUM(NSUInteger, FIMenuKind){
    FIMenuKindContextualMenuForItems = 0,
    FIMenuKindContextualMenuForContainer = 1,
    FIMenuKindContextualMenuForSidebar = 2,
    FIMenuKindToolbarItemMenu = 3,
} API_AVAILABLE(macos(10.10));

// findersync/fifindersynccontroller, default(), directoryurls,
// setbadgeimage(_:label:forbadgeidentifier:), setbadgeidentifier(_:for:),
// targetedurl(), selecteditemurls()
API_AVAILABLE(macos(10.10))
@interface FIFinderSyncController : NSExtensionContext
+ (instancetype)defaultController;
@property(copy, null_resettable) NSSet<NSURL*>* directoryURLs;
- (void)setBadgeImage:(NSImage*)image
                 label:(nullable NSString*)label
    forBadgeIdentifier:(NSString*)badgeID;
- (void)setBadgeIdentifier:(NSString*)badgeID forURL:(NSURL*)url;
- (nullable NSURL*)targetedURL;
- (nullable NSArray<NSURL*>*)selectedItemURLs;
@end

// findersync/fifindersyncprotocol, menu(for:), beginobservingdirectory(at:),
// endobservingdirectory(at:), requestbadgeidentifier(for:), toolbaritemname,
// toolbaritemimage, toolbaritemtooltip
@protocol FIFinderSyncProtocol
@optional
- (nullable NSMenu*)menuForMenuKind:(FIMenuKind)menuKind;
- (void)beginObservingDirectoryAtURL:(NSURL*)url;
- (void)endObservingDirectoryAtURL:(NSURL*)url;
- (void)requestBadgeIdentifierForURL:(NSURL*)url;
@property(copy, readonly) NSString* toolbarItemName;
@property(copy, readonly) NSImage* toolbarItemImage;
@property(copy, readonly) NSString* toolbarItemToolTip;
@end

// findersync/fifindersync
API_AVAILABLE(macos(10.10))
@interface FIFinderSync : NSObject <FIFinderSyncProtocol, NSExtensionRequestHandling>
@end

NS_ASSUME_NONNULL_END
