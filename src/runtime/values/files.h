#pragma once

namespace kestran {

// The table of open files (numbers 1 to 255).
struct FileTable {};

}  // namespace kestran
