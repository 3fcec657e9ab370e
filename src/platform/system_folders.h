// Where the system keeps a user's things, and which names its folders take. Each system has its
// own file of these (system_folders.cpp for POSIX, system_folders_win.cpp for Windows); the rest
// of the platform layer asks here.
#pragma once

#include <filesystem>
#include <string_view>

namespace kestran::platform {

// Where screenshots go: the user's pictures folder when there is one, else the current folder.
std::filesystem::path PicturesFolder();

// True when the system takes `name` as the name of one entry of a folder: no separator, no NUL,
// and on Windows none of \ : * ? " < > |, no control character, no device name (CON, NUL, COM1,
// ...) and no trailing dot or blank.
bool NameAllowedBySystem(std::string_view name);

}  // namespace kestran::platform
