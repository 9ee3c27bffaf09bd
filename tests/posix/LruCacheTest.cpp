#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/posix/LruCache.h"

namespace vantor::platform {
namespace {

TEST(LruCache, ForgetsTheLeastRecentlyUsedWhenFull) {
    LruCache<std::string, int> cache(3);
    cache.insert("a", 1);
    cache.insert("b", 2);
    cache.insert("c", 3);
    // Using "a" makes "b" the least recently used.
    ASSERT_NE(cache.find("a"), nullptr);
    cache.insert("d", 4);
    EXPECT_EQ(cache.size(), 3u);
    EXPECT_EQ(cache.find("b"), nullptr);
    ASSERT_NE(cache.find("a"), nullptr);
    EXPECT_EQ(*cache.find("a"), 1);
    EXPECT_EQ(*cache.find("c"), 3);
    EXPECT_EQ(*cache.find("d"), 4);
    // Now "a" is the oldest use.
    cache.insert("e", 5);
    EXPECT_EQ(cache.find("a"), nullptr);
    EXPECT_EQ(cache.size(), 3u);
}

TEST(LruCache, ReplacingAValueKeepsOneEntryAndFreesTheOldValue) {
    LruCache<int, std::shared_ptr<int>> cache(2);
    auto first = std::make_shared<int>(1);
    const std::weak_ptr<int> old = first;
    cache.insert(7, std::move(first));
    cache.insert(8, std::make_shared<int>(8));
    cache.insert(7, std::make_shared<int>(70));
    EXPECT_TRUE(old.expired());
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_EQ(**cache.find(7), 70);
    // After 8 is looked at and 7 used again, 8 is the least recently used.
    const std::weak_ptr<int> eight = *cache.find(8);
    cache.find(7);
    cache.insert(9, std::make_shared<int>(9));
    EXPECT_EQ(cache.find(8), nullptr);
    EXPECT_TRUE(eight.expired());
    EXPECT_NE(cache.find(7), nullptr);
    cache.clear();
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(cache.find(7), nullptr);
}

}  // namespace
}  // namespace vantor::platform
