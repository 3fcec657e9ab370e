#include "platform/user_language.h"

#include <cstdlib>

namespace kestran::platform {

// The first of the variables that decide the messages' language and is set, as the C library
// would take it.
std::string UserLanguageName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return value;
    }
    return {};
}

}  // namespace kestran::platform
