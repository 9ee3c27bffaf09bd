#include "platform/sim/RefLedger.h"

#include <fmt/format.h>

#include <numeric>

namespace vantor::sim {

namespace {

// Layout of a reference number: ledger number, kind, serial.
constexpr int kSerialBits = 36;
constexpr int kKindBits = 4;
constexpr std::uint64_t kSerialMask = (std::uint64_t{1} << kSerialBits) - 1;
constexpr std::uint64_t kKindMask = (std::uint64_t{1} << kKindBits) - 1;

// Every ledger of the process, by number; a destroyed ledger leaves a null entry, so the
// numbers are never reused. Everything runs on the main thread.
std::vector<RefLedger*>& ledgerTable() {
    static std::vector<RefLedger*> table{nullptr};
    return table;
}

std::uint64_t refNumber(const void* ref) {
    return reinterpret_cast<std::uintptr_t>(ref);
}
std::uint64_t serialOf(const void* ref) {
    return refNumber(ref) & kSerialMask;
}
std::uint64_t kindBitsOf(const void* ref) {
    return (refNumber(ref) >> kSerialBits) & kKindMask;
}
std::uint64_t ledgerNumberOf(const void* ref) {
    return refNumber(ref) >> (kSerialBits + kKindBits);
}

}  // namespace

std::string_view refKindName(RefKind kind) {
    switch (kind) {
        case RefKind::Element:
            return "elements";
        case RefKind::Observer:
            return "observers";
        case RefKind::RunLoopSource:
            return "run-loop sources";
        case RefKind::Event:
            return "events";
        case RefKind::EventSource:
            return "event sources";
        case RefKind::EventTap:
            return "event taps";
    }
    return "?";
}

RefLedger::RefLedger() : number_(ledgerTable().size()) {
    ledgerTable().push_back(this);
}

RefLedger::~RefLedger() {
    ledgerTable()[number_] = nullptr;
    // Objects may refer to one another's state but never release through the ledger while it
    // is going away.
    objects_.clear();
}

const platform::HandleOps* RefLedger::handleOps() {
    static const platform::HandleOps ops{&opsRetain, &opsRelease, &opsEqual};
    return &ops;
}

const void* RefLedger::add(std::unique_ptr<RefObject> object) {
    const std::uint64_t serial = nextSerial_++;
    const auto kind = static_cast<std::uint64_t>(object->kind());
    const std::uint64_t number =
        (number_ << (kSerialBits + kKindBits)) | (kind << kSerialBits) | serial;
    ++live_[index(object->kind())];
    ++created_[index(object->kind())];
    object->count_ = 1;
    objects_.emplace(serial, std::move(object));
    return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(number));
}

bool RefLedger::isLive(const void* ref) const {
    return ref && ledgerNumberOf(ref) == number_ && objects_.contains(serialOf(ref));
}

RefObject* RefLedger::lookup(const void* ref, RefKind kind) const {
    if (!ref || ledgerNumberOf(ref) != number_) return nullptr;
    const auto it = objects_.find(serialOf(ref));
    if (it == objects_.end() || it->second->kind() != kind) return nullptr;
    return it->second.get();
}

std::int64_t RefLedger::liveTotal() const {
    return std::accumulate(live_.begin(), live_.end(), std::int64_t{0});
}

std::string RefLedger::summary() const {
    std::string text;
    for (std::size_t i = 0; i < kRefKindCount; ++i) {
        if (!text.empty()) text += ", ";
        text +=
            fmt::format("{} {}/{}", refKindName(static_cast<RefKind>(i)), live_[i], created_[i]);
    }
    text += fmt::format(" (live/created); over-releases {}", overReleases_.size());
    return text;
}

void RefLedger::retainRef(const void* ref) {
    const auto it = objects_.find(serialOf(ref));
    if (it == objects_.end()) {
        overReleases_.push_back(fmt::format("retain of {} #{} after its last release",
                                            refKindName(static_cast<RefKind>(kindBitsOf(ref))),
                                            serialOf(ref)));
        return;
    }
    ++it->second->count_;
}

void RefLedger::releaseRef(const void* ref) {
    const auto it = objects_.find(serialOf(ref));
    if (it == objects_.end()) {
        overReleases_.push_back(fmt::format("release of {} #{} after its last release",
                                            refKindName(static_cast<RefKind>(kindBitsOf(ref))),
                                            serialOf(ref)));
        return;
    }
    if (--it->second->count_ > 0) return;
    auto node = objects_.extract(it);
    --live_[index(node.mapped()->kind())];
    // The hook may give up other references; the object is already out of the table.
    node.mapped()->lastReleased();
}

bool RefLedger::equalRefs(const void* a, const void* b) const {
    const auto ia = objects_.find(serialOf(a));
    const auto ib = objects_.find(serialOf(b));
    if (ia == objects_.end() || ib == objects_.end()) return false;
    if (ia->second->kind() != ib->second->kind()) return false;
    return ia->second->equals(*ib->second);
}

RefLedger* RefLedger::ledgerOf(const void* ref) {
    const std::uint64_t number = ledgerNumberOf(ref);
    const auto& table = ledgerTable();
    return number < table.size() ? table[number] : nullptr;
}

void RefLedger::opsRetain(const void* ref) noexcept {
    if (RefLedger* ledger = ledgerOf(ref)) ledger->retainRef(ref);
}

void RefLedger::opsRelease(const void* ref) noexcept {
    if (RefLedger* ledger = ledgerOf(ref)) ledger->releaseRef(ref);
}

bool RefLedger::opsEqual(const void* a, const void* b) noexcept {
    RefLedger* ledger = ledgerOf(a);
    return ledger && ledger == ledgerOf(b) && ledger->equalRefs(a, b);
}

}  // namespace vantor::sim
