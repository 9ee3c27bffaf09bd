// A map of bounded size that forgets its least recently used entry when a new one would not
// fit: what the canvas keeps its pre-rendered pictures in.
#pragma once

#include <cstddef>
#include <list>
#include <unordered_map>
#include <utility>

namespace vantor::platform {

template <typename Key, typename Value, typename Hash = std::hash<Key>>
class LruCache {
public:
    explicit LruCache(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

    // The value for the key, now the most recently used one; null when there is none.
    Value* find(const Key& key) {
        const auto found = index_.find(key);
        if (found == index_.end()) return nullptr;
        entries_.splice(entries_.begin(), entries_, found->second);
        return &found->second->second;
    }

    // Stores the value under the key (replacing what was there) as the most recently used
    // one, dropping the least recently used entry when the cache is full.
    Value& insert(const Key& key, Value value) {
        if (Value* existing = find(key)) {
            *existing = std::move(value);
            return *existing;
        }
        if (entries_.size() == capacity_) {
            index_.erase(entries_.back().first);
            entries_.pop_back();
        }
        entries_.emplace_front(key, std::move(value));
        index_.emplace(key, entries_.begin());
        return entries_.front().second;
    }

    void clear() {
        index_.clear();
        entries_.clear();
    }

    std::size_t size() const { return entries_.size(); }
    std::size_t capacity() const { return capacity_; }

private:
    using Entries = std::list<std::pair<Key, Value>>;

    std::size_t capacity_;
    Entries entries_;  // most recently used first
    std::unordered_map<Key, typename Entries::iterator, Hash> index_;
};

}  // namespace vantor::platform
