// The batched Accessibility read's results, built from hand-made arrays like the ones
// AXUIElementCopyMultipleAttributeValues returns.
#import <Foundation/Foundation.h>
#include <ApplicationServices/ApplicationServices.h>

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "platform/mac/MacAccessibility.h"

namespace vantor::mac {
namespace {

id errorValue(AXError error) {
    return CFBridgingRelease(AXValueCreate(kAXValueTypeAXError, &error));
}

id pointValue(CGPoint point) {
    return CFBridgingRelease(AXValueCreate(kAXValueTypeCGPoint, &point));
}

TEST(MacAccessibilityTest, EachArrayItemBecomesItsAttributesResult) {
    // The Dock answers kCFNull for an attribute it has no value for; reading that attribute
    // alone reports kAXErrorNoValue, and so must the batch. The last attribute lies past the
    // array's end.
    NSArray* values = @[
        [NSNull null], errorValue(kAXErrorAttributeUnsupported), @"Mail",
        pointValue(CGPointMake(12, 34))
    ];
    const auto results = attributeResults((__bridge CFArrayRef)values, values.count + 1);

    ASSERT_EQ(results.size(), 5u);
    EXPECT_EQ(results[0].error, platform::kAXErrorNoValue);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(results[0].value));
    EXPECT_EQ(results[1].error, platform::kAXErrorAttributeUnsupported);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(results[1].value));
    EXPECT_EQ(results[2].error, platform::kAXErrorSuccess);
    EXPECT_EQ(std::get<std::string>(results[2].value), "Mail");
    EXPECT_EQ(results[3].error, platform::kAXErrorSuccess);
    ASSERT_TRUE(std::holds_alternative<platform::Point>(results[3].value));
    EXPECT_EQ(std::get<platform::Point>(results[3].value).x, 12);
    EXPECT_EQ(std::get<platform::Point>(results[3].value).y, 34);
    EXPECT_EQ(results[4].error, platform::kAXErrorNoValue);
}

}  // namespace
}  // namespace vantor::mac
