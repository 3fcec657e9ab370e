// The key ring of the main window: one-byte key codes waiting to be read, in arrival order.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace kestran {

class KeyBuffer {
public:
    static constexpr int kCapacity = 255;  // one slot of the 256 always stays free
    static constexpr uint16_t kShift = 1;
    static constexpr uint16_t kCtrl = 2;

    // Adds a code; false when the ring is full (the caller beeps, the code is dropped).
    bool Put(uint8_t code);
    std::optional<uint8_t> Take();
    bool Empty() const { return read_ == write_; }
    int Size() const { return uint8_t(write_ - read_); }
    void Clear() { read_ = write_; }

    uint16_t modifiers = 0;  // kShift, kCtrl: the keys held down now

private:
    uint8_t read_ = 0;
    uint8_t write_ = 0;
    std::array<uint8_t, 256> ring_{};
};

}  // namespace kestran
