// RAII handle for the platform's reference-counted objects (Accessibility elements and
// observers, events, event sources): copying retains, destruction releases, and `==` is the
// platform's object equality (CFEqual), never pointer identity.
#pragma once

#include <utility>

namespace vantor::platform {

// What a backend supplies for one kind of reference-counted object
// (CFRetain, CFRelease, CFEqual on macOS).
struct HandleOps {
    void (*retain)(const void* object) noexcept;
    void (*release)(const void* object) noexcept;
    bool (*equal)(const void* a, const void* b) noexcept;
};

template <class Tag>
class Handle {
public:
    Handle() noexcept = default;

    // Takes over a reference the caller already owns (the result of a Create or Copy call).
    static Handle adopt(const void* object, const HandleOps* ops) noexcept {
        Handle h;
        h.object_ = object;
        h.ops_ = object ? ops : nullptr;
        return h;
    }

    // Takes a reference of its own to an object the caller does not own.
    static Handle retain(const void* object, const HandleOps* ops) noexcept {
        if (object) ops->retain(object);
        return adopt(object, ops);
    }

    Handle(const Handle& other) noexcept : object_(other.object_), ops_(other.ops_) {
        if (object_) ops_->retain(object_);
    }
    Handle(Handle&& other) noexcept
        : object_(std::exchange(other.object_, nullptr)),
          ops_(std::exchange(other.ops_, nullptr)) {}

    // Retains the new object before releasing the old one, so assigning a handle to itself,
    // or to another handle of the same object, keeps the object alive.
    Handle& operator=(const Handle& other) noexcept {
        const void* object = other.object_;
        const HandleOps* ops = other.ops_;
        if (object) ops->retain(object);
        reset();
        object_ = object;
        ops_ = ops;
        return *this;
    }
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
            ops_ = std::exchange(other.ops_, nullptr);
        }
        return *this;
    }
    ~Handle() { reset(); }

    void reset() noexcept {
        if (object_) ops_->release(object_);
        object_ = nullptr;
        ops_ = nullptr;
    }

    const void* get() const noexcept { return object_; }
    const HandleOps* ops() const noexcept { return ops_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

    friend bool operator==(const Handle& a, const Handle& b) noexcept {
        if (a.object_ == b.object_) return true;
        if (!a.object_ || !b.object_) return false;
        return a.ops_->equal(a.object_, b.object_);
    }

private:
    const void* object_ = nullptr;
    const HandleOps* ops_ = nullptr;
};

struct AXElementTag;
struct AXObserverTag;
struct EventTag;
struct EventSourceTag;

using AXElement = Handle<AXElementTag>;      // AXUIElementRef
using AXObserver = Handle<AXObserverTag>;    // AXObserverRef
using Event = Handle<EventTag>;              // CGEventRef
using EventSource = Handle<EventSourceTag>;  // CGEventSourceRef

}  // namespace vantor::platform
