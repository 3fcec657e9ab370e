#include "runtime/values/return_table.h"

#include "runtime/runtime.h"
#include "runtime/values/error.h"

namespace kestran {

void ReturnTable::Push(int eventSlot, std::source_location where) {
    if (depth_ == kCapacity) PbRaiseError(32, 0xB101, where);
    slots_[static_cast<std::size_t>(depth_++)] = eventSlot;
}

int ReturnTable::Pop(std::source_location where) {
    if (depth_ == 0) PbRaiseError(3, 0xB201, where);
    return slots_[static_cast<std::size_t>(--depth_)];
}

PbGosub::PbGosub(Runtime& rt, std::source_location where) : rt_(rt), caller_(rt.frame.currentStatement) {
    rt_.returns.Push(-1, where);
}

PbGosub::~PbGosub() {
    // The guard pushed the entry it pops; nothing between may leave the table emptier.
    if (!rt_.returns.empty()) rt_.returns.Pop();
    rt_.frame.currentStatement = caller_;
}

}  // namespace kestran
