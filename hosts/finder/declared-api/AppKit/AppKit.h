// SPDX-License-Identifier: Apache-2.0
// The part of AppKit the Finder host uses, declared from Apple's public
// documentation (pages under https://developer.apple.com/documentation/).
// See Foundation/Foundation.h beside it for why this folder exists.
#pragma once

#import <Foundation/Foundation.h>

#define APPKIT_EXTERN extern "C"
// appkit/ibaction (Clang defines it itself for Objective-C)
#ifndef IBAction
#define IBAction void
#endif

NS_ASSUME_NONNULL_BEGIN

// appkit/nscolor, systemgreen, systemblue, systemorange, systemred,
// systemyellow, white, setfill()
@interface NSColor : NSObject
@property(class, strong, readonly) NSColor* systemGreenColor API_AVAILABLE(macos(10.10));
@property(class, strong, readonly) NSColor* systemBlueColor API_AVAILABLE(macos(10.10));
@property(class, strong, readonly) NSColor* systemOrangeColor API_AVAILABLE(macos(10.10));
@property(class, strong, readonly) NSColor* systemRedColor API_AVAILABLE(macos(10.10));
@property(class, strong, readonly) NSColor* systemYellowColor API_AVAILABLE(macos(10.10));
@property(class, strong, readonly) NSColor* whiteColor;
- (void)setFill;
@end

// appkit/nsbezierpath, init(ovalin:), fill()
@interface NSBezierPath : NSObject
+ (NSBezierPath*)bezierPathWithOvalInRect:(NSRect)rect;
- (void)fill;
@end

// appkit/nsfont/weight, appkit/nsfont/weight/regular, appkit/nsfont/weight/bold
typedef CGFloat NSFontWeight NS_TYPED_EXTENSIBLE_ENUM;
APPKIT_EXTERN const NSFontWeight NSFontWeightRegular API_AVAILABLE(macos(10.11));
APPKIT_EXTERN const NSFontWeight NSFontWeightBold API_AVAILABLE(macos(10.11));

// appkit/nsimage/symbolconfiguration-swift.class, init(pointsize:weight:),
// init(palettecolors:), applying(_:)
API_AVAILABLE(macos(11.0))
@interface NSImageSymbolConfiguration : NSObject
+ (instancetype)configurationWithPointSize:(CGFloat)pointSize weight:(NSFontWeight)weight;
+ (instancetype)configurationWithPaletteColors:(NSArray<NSColor*>*)paletteColors
    API_AVAILABLE(macos(12.0));
- (instancetype)configurationByApplyingConfiguration:(NSImageSymbolConfiguration*)configuration
    API_AVAILABLE(macos(12.0));
@end

// appkit/nscompositingoperation (the values the drawing seam names)
typedef NS_ENUM(NSUInteger, NSCompositingOperation){
    NSCompositingOperationCopy = 1,
    NSCompositingOperationSourceOver = 2,
} API_AVAILABLE(macos(10.12));

// appkit/nsimage, init(), size, init(size:flipped:drawinghandler:),
// init(systemsymbolname:accessibilitydescription:),
// withsymbolconfiguration(_:), draw(in:from:operation:fraction:)
@interface NSImage : NSObject
- (instancetype)init;
@property NSSize size;
+ (NSImage*)imageWithSize:(NSSize)size
                  flipped:(BOOL)drawingHandlerShouldBeCalledWithFlippedContext
           drawingHandler:(BOOL (^)(NSRect dstRect))drawingHandler API_AVAILABLE(macos(10.8));
+ (nullable NSImage*)imageWithSystemSymbolName:(NSString*)name
                      accessibilityDescription:(nullable NSString*)description
    API_AVAILABLE(macos(11.0));
- (nullable NSImage*)imageWithSymbolConfiguration:(NSImageSymbolConfiguration*)configuration
    API_AVAILABLE(macos(11.0));
- (void)drawInRect:(NSRect)rect
          fromRect:(NSRect)fromRect
         operation:(NSCompositingOperation)op
          fraction:(CGFloat)delta;
@end

// appkit/nscontrol/statevalue, on, off
typedef NSInteger NSControlStateValue;
static const NSControlStateValue NSControlStateValueOff API_AVAILABLE(macos(10.13)) = 0;
static const NSControlStateValue NSControlStateValueOn API_AVAILABLE(macos(10.13)) = 1;

// appkit/nsmenuitem, state
@interface NSMenuItem : NSObject
@property NSControlStateValue state;
@end

// appkit/nsmenu, init(title:), additem(withtitle:action:keyequivalent:)
@interface NSMenu : NSObject
- (instancetype)initWithTitle:(NSString*)title NS_DESIGNATED_INITIALIZER;
- (NSMenuItem*)addItemWithTitle:(NSString*)string
                         action:(nullable SEL)selector
                  keyEquivalent:(NSString*)charCode;
@end

// appkit/nspasteboard, general, clearcontents(), setstring(_:fortype:),
// appkit/nspasteboard/pasteboardtype, appkit/nspasteboard/pasteboardtype/string
typedef NSString* NSPasteboardType NS_TYPED_EXTENSIBLE_ENUM;
APPKIT_EXTERN NSPasteboardType const NSPasteboardTypeString API_AVAILABLE(macos(10.6));
@interface NSPasteboard : NSObject
@property(class, readonly, strong) NSPasteboard* generalPasteboard;
- (NSInteger)clearContents;
- (BOOL)setString:(NSString*)string forType:(NSPasteboardType)dataType;
@end

NS_ASSUME_NONNULL_END
