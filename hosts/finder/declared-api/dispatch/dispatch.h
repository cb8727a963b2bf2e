// SPDX-License-Identifier: Apache-2.0
// The part of Dispatch the Finder host uses, declared from Apple's public
// documentation (pages under https://developer.apple.com/documentation/).
// See Foundation/Foundation.h for why this folder exists.
#pragma once

#import <Foundation/Foundation.h>
#include <stdint.h>

NS_ASSUME_NONNULL_BEGIN

// dispatch_sync runs the block before it returns.
#define DISPATCH_NOESCAPE __attribute__((__noescape__))

// dispatch/dispatch_block_t
typedef void (^dispatch_block_t)(void);

// dispatch/dispatchqueue: with Objective-C, queues are objects that ARC
// retains and releases.
@protocol OS_dispatch_queue <NSObject>
@end
typedef NSObject<OS_dispatch_queue>* dispatch_queue_t;

// dispatch/dispatch_get_main_queue, dispatch/dispatch_async,
// dispatch/dispatch_sync
extern "C" dispatch_queue_t dispatch_get_main_queue(void);
extern "C" void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);
extern "C" void dispatch_sync(dispatch_queue_t queue, DISPATCH_NOESCAPE dispatch_block_t block);

// dispatch/dispatch_get_global_queue, dispatch/dispatch_qos_class_t
// (QOS_CLASS_UTILITY = 0x11)
typedef unsigned int qos_class_t;
static const qos_class_t QOS_CLASS_UTILITY = 0x11;
extern "C" dispatch_queue_t dispatch_get_global_queue(intptr_t identifier, uintptr_t flags);

NS_ASSUME_NONNULL_END
