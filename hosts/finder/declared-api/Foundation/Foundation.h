// SPDX-License-Identifier: Apache-2.0
// The part of Foundation the Finder host uses, declared from Apple's public
// documentation so that the host can be compiled on a system without Apple's
// SDK (tests/hosts/finder/run-checks). A Mac build never sees this folder.
// Each declaration names its page under
// https://developer.apple.com/documentation/ ; nullability and availability
// are the documented ones.
#pragma once

// os/availability.h: API_AVAILABLE(macos(11.0)) marks what older systems lack.
#define API_AVAILABLE(platform) __attribute__((availability(QZ_AVAILABLE_ON_##platform)))
#define QZ_AVAILABLE_ON_macos(version) macos, introduced = version
#define NS_ASSUME_NONNULL_BEGIN _Pragma("clang assume_nonnull begin")
#define NS_ASSUME_NONNULL_END _Pragma("clang assume_nonnull end")
#define NS_DESIGNATED_INITIALIZER __attribute__((objc_designated_initializer))
#define NS_RETURNS_INNER_POINTER __attribute__((objc_returns_inner_pointer))
#define NS_FORMAT_FUNCTION(formatIndex, firstArgument) \
  __attribute__((format(__NSString__, formatIndex, firstArgument)))
#define NS_ENUM(type, name) enum name : type name; enum name : type
#define NS_TYPED_EXTENSIBLE_ENUM __attribute__((swift_wrapper(struct)))
#define FOUNDATION_EXPORT extern "C"

NS_ASSUME_NONNULL_BEGIN

// objectivec/bool, objectivec/nil, objectivec/nsinteger, objectivec/nsuinteger,
// corefoundation/cgfloat (the 64-bit definitions).
typedef bool BOOL;
#define YES __objc_yes
#define NO __objc_no
#define nil nullptr
typedef long NSInteger;
typedef unsigned long NSUInteger;
typedef double CGFloat;
// foundation/timeinterval
typedef double NSTimeInterval;

// foundation/nspoint, nssize, nsrect, nsmakesize, nsmakerect, nszerorect
typedef struct CGPoint {
  CGFloat x;
  CGFloat y;
} NSPoint;
typedef struct CGSize {
  CGFloat width;
  CGFloat height;
} NSSize;
typedef struct CGRect {
  NSPoint origin;
  NSSize size;
} NSRect;
static inline NSSize NSMakeSize(CGFloat w, CGFloat h) { return NSSize{w, h}; }
static inline NSRect NSMakeRect(CGFloat x, CGFloat y, CGFloat w, CGFloat h) {
  return NSRect{{x, y}, {w, h}};
}
FOUNDATION_EXPORT const NSRect NSZeroRect;

// objectivec/nsobject-swift.class, objectivec/nsobjectprotocol
@protocol NSObject
@end
__attribute__((objc_root_class)) @interface NSObject <NSObject>
+ (instancetype)alloc;
- (instancetype)init;
@end

// foundation/nsstring, init(bytes:length:encoding:), utf8string,
// nsutf8stringencoding
typedef NSUInteger NSStringEncoding;
enum : NSStringEncoding { NSUTF8StringEncoding = 4 };
@interface NSString : NSObject
- (nullable instancetype)initWithBytes:(const void*)bytes
                                length:(NSUInteger)length
                              encoding:(NSStringEncoding)encoding;
@property(nullable, readonly) const char* UTF8String NS_RETURNS_INNER_POINTER;
@end

// foundation/nsfastenumeration, nsfastenumerationstate
typedef struct {
  unsigned long state;
  id __unsafe_unretained _Nullable* _Nullable itemsPtr;
  unsigned long* _Nullable mutationsPtr;
  unsigned long extra[5];
} NSFastEnumerationState;
@protocol NSFastEnumeration
- (NSUInteger)countByEnumeratingWithState:(NSFastEnumerationState*)state
                                  objects:(id __unsafe_unretained _Nullable[_Nonnull])buffer
                                    count:(NSUInteger)len;
@end

// foundation/nsarray, arraywithobjects:count: (for array literals),
// foundation/nsmutablearray, arraywithcapacity:, addobject:
@interface NSArray<__covariant ObjectType> : NSObject <NSFastEnumeration>
+ (instancetype)arrayWithObjects:(const ObjectType _Nonnull[_Nonnull])objects
                           count:(NSUInteger)count;
@property(readonly) NSUInteger count;
@end
@interface NSMutableArray<ObjectType> : NSArray<ObjectType>
+ (instancetype)arrayWithCapacity:(NSUInteger)numItems;
- (void)addObject:(ObjectType)anObject;
@end

// foundation/nsset, foundation/nsmutableset, setwithcapacity:, addobject:
@interface NSSet<__covariant ObjectType> : NSObject <NSFastEnumeration>
@property(readonly) NSUInteger count;
@end
@interface NSMutableSet<ObjectType> : NSSet<ObjectType>
+ (instancetype)setWithCapacity:(NSUInteger)numItems;
- (void)addObject:(ObjectType)object;
@end

// foundation/nsurl, fileurlwithpath:isdirectory:, path
@interface NSURL : NSObject
+ (NSURL*)fileURLWithPath:(NSString*)path isDirectory:(BOOL)isDir;
@property(nullable, readonly, copy) NSString* path;
@end

// foundation/filemanager, default,
// containerurl(forsecurityapplicationgroupidentifier:)
@interface NSFileManager : NSObject
@property(class, readonly, strong) NSFileManager* defaultManager;
- (nullable NSURL*)containerURLForSecurityApplicationGroupIdentifier:(NSString*)groupIdentifier
    API_AVAILABLE(macos(10.8));
@end

// foundation/timer, init(timeinterval:repeats:block:)
@interface NSTimer : NSObject
+ (NSTimer*)timerWithTimeInterval:(NSTimeInterval)interval
                          repeats:(BOOL)repeats
                            block:(void (^)(NSTimer* timer))block API_AVAILABLE(macos(10.12));
@end

// foundation/runloop, main, add(_:formode:), foundation/runloop/mode,
// foundation/runloop/mode/common
typedef NSString* NSRunLoopMode NS_TYPED_EXTENSIBLE_ENUM;
FOUNDATION_EXPORT NSRunLoopMode const NSRunLoopCommonModes;
@interface NSRunLoop : NSObject
@property(class, readonly, strong) NSRunLoop* mainRunLoop;
- (void)addTimer:(NSTimer*)timer forMode:(NSRunLoopMode)mode;
@end

// foundation/thread, ismainthread (the class property)
@interface NSThread : NSObject
@property(class, readonly) BOOL isMainThread;
@end

// foundation/nsselectorfromstring(_:)
FOUNDATION_EXPORT SEL NSSelectorFromString(NSString* aSelectorName);

// foundation/nslog
FOUNDATION_EXPORT void NSLog(NSString* format, ...) NS_FORMAT_FUNCTION(1, 2);

// foundation/nsextensioncontext, foundation/nsextensionrequesthandling
@interface NSExtensionContext : NSObject
@end
@protocol NSExtensionRequestHandling <NSObject>
- (void)beginRequestWithExtensionContext:(NSExtensionContext*)context;
@end

NS_ASSUME_NONNULL_END
