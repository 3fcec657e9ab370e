#include "runtime/console/key_buffer.h"

namespace kestran {

bool KeyBuffer::Put(uint8_t code) {
    const auto next = uint8_t(write_ + 1);
    if (next == read_) return false;
    ring_[write_] = code;
    write_ = next;
    return true;
}

std::optional<uint8_t> KeyBuffer::Take() {
    if (Empty()) return std::nullopt;
    return ring_[read_++];
}

}  // namespace kestran
