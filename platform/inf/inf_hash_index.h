// An open-addressing table from a name's hash to a small number (a section, a key run).
//
// The table stores only (hash, number) pairs; the owner keeps the names and decides equality,
// so one table serves names of any length without copying them. It grows to stay at most half
// full, so a lookup looks at a couple of slots however large the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::inf {

class HashIndex {
  public:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    // Makes room for `count` entries without growing again.
    void reserve(std::size_t count) {
        std::size_t wanted = 16;
        while (wanted < count * 2) wanted *= 2;
        if (wanted > slots_.size()) rehash(wanted);
    }

    // The number stored under `hash` for which `equal(number)` holds, or kNone.
    template <typename Equal>
    std::uint32_t find(std::uint32_t hash, Equal equal) const {
        if (slots_.empty()) return kNone;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots_[i];
            if (slot.number == kNone) return kNone;
            if (slot.hash == hash && equal(slot.number)) return slot.number;
        }
    }

    // Adds an entry; the caller has checked that no equal one exists.
    void insert(std::uint32_t hash, std::uint32_t number) {
        if ((used_ + 1) * 2 > slots_.size()) rehash(slots_.empty() ? 16 : slots_.size() * 2);
        place(hash, number);
        ++used_;
    }

    std::size_t memoryUsed() const { return slots_.capacity() * sizeof(Slot); }

  private:
    struct Slot {
        std::uint32_t hash;
        std::uint32_t number;
    };

    void place(std::uint32_t hash, std::uint32_t number) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = hash & mask;
        while (slots_[i].number != kNone) i = (i + 1) & mask;
        slots_[i] = Slot{hash, number};
    }

    void rehash(std::size_t size) {
        std::vector<Slot> old(size, Slot{0, kNone});
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.number != kNone) place(slot.hash, slot.number);
        }
    }

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};

}  // namespace platform::inf
