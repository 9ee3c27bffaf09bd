// The simulator's reference-counted objects (elements, observers, sources, events, taps) and
// the ledger that counts their references, so tests can state that nothing leaked and nothing
// was released twice.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Handle.h"

namespace vantor::sim {

enum class RefKind : std::uint8_t {
    Element,
    Observer,
    RunLoopSource,
    Event,
    EventSource,
    EventTap
};
inline constexpr std::size_t kRefKindCount = 6;

std::string_view refKindName(RefKind kind);

// Base of every simulated reference-counted object. The ledger owns it while it has
// references and frees it when the last one goes.
class RefObject {
public:
    explicit RefObject(RefKind kind) : kind_(kind) {}
    virtual ~RefObject() = default;
    RefObject(const RefObject&) = delete;
    RefObject& operator=(const RefObject&) = delete;

    RefKind kind() const { return kind_; }
    // CFEqual for two distinct objects of the same kind.
    virtual bool equals(const RefObject& /*other*/) const { return false; }
    // Runs when the last reference is given up, just before the object is freed.
    virtual void lastReleased() {}

private:
    friend class RefLedger;
    RefKind kind_;
    std::int64_t count_ = 1;
};

// Counts references per kind. A handle's pointer is an opaque reference number, never the
// object's address: the number names the ledger, the kind and a serial that is never reused,
// so a release after the last one is recorded instead of touching freed memory, and a handle
// that outlives its desktop is harmless.
class RefLedger {
public:
    RefLedger();
    ~RefLedger();
    RefLedger(const RefLedger&) = delete;
    RefLedger& operator=(const RefLedger&) = delete;

    // The retain/release/equal table of every handle the simulator gives out.
    static const platform::HandleOps* handleOps();

    // Registers a new object with one reference, owned by the caller of the returned handle.
    template <class Tag>
    platform::Handle<Tag> adopt(std::unique_ptr<RefObject> object) {
        return platform::Handle<Tag>::adopt(add(std::move(object)), handleOps());
    }
    // A new reference to an object that is still alive; an empty handle otherwise.
    template <class Tag>
    platform::Handle<Tag> retain(const void* ref) {
        if (!isLive(ref)) return {};
        return platform::Handle<Tag>::retain(ref, handleOps());
    }

    // The object behind a handle of this ledger, when alive and of that kind; null otherwise.
    template <class T>
    T* find(const void* ref, RefKind kind) const {
        return static_cast<T*>(lookup(ref, kind));
    }
    bool isLive(const void* ref) const;

    std::int64_t live(RefKind kind) const { return live_[index(kind)]; }
    std::int64_t created(RefKind kind) const { return created_[index(kind)]; }
    std::int64_t liveTotal() const;
    // Releases of references whose object had no reference left.
    std::int64_t overReleases() const { return static_cast<std::int64_t>(overReleases_.size()); }
    const std::vector<std::string>& overReleaseNotes() const { return overReleases_; }
    // Nothing alive and nothing released twice.
    bool clean() const { return liveTotal() == 0 && overReleases_.empty(); }
    // "elements 1/7, observers 0/1, ..." (live/created), for test failure messages.
    std::string summary() const;

private:
    static std::size_t index(RefKind kind) { return static_cast<std::size_t>(kind); }
    const void* add(std::unique_ptr<RefObject> object);
    RefObject* lookup(const void* ref, RefKind kind) const;
    void retainRef(const void* ref);
    void releaseRef(const void* ref);
    bool equalRefs(const void* a, const void* b) const;
    static RefLedger* ledgerOf(const void* ref);

    static void opsRetain(const void* ref) noexcept;
    static void opsRelease(const void* ref) noexcept;
    static bool opsEqual(const void* a, const void* b) noexcept;

    std::uint64_t number_;
    std::uint64_t nextSerial_ = 1;
    std::unordered_map<std::uint64_t, std::unique_ptr<RefObject>> objects_;
    std::array<std::int64_t, kRefKindCount> live_{};
    std::array<std::int64_t, kRefKindCount> created_{};
    std::vector<std::string> overReleases_;
};

}  // namespace vantor::sim
