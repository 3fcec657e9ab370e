// The language the user's system is set to, as the game's language choice reads it: a locale
// name ("ja_JP.UTF-8", "en_GB") or a language code ("ja"), or empty where the system names none.
// POSIX reads the locale's variables; Windows asks for the user's interface language, which is
// what a Japanese Windows sets (it has no LANG).
#pragma once

#include <string>

namespace kestran::platform {

std::string UserLanguageName();

}  // namespace kestran::platform
