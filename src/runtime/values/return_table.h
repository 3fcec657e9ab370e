#pragma once

namespace kestran {

// The subroutine return table (128 entries).
struct ReturnTable {
    int depth = 0;
};

}  // namespace kestran
