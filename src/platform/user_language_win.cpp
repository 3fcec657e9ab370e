#include <windows.h>

#include "platform/user_language.h"

namespace kestran::platform {

std::string UserLanguageName() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? "ja" : "en";
}

}  // namespace kestran::platform
