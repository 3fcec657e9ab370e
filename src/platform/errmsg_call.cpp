#include <cstring>
#include <vector>

#include "platform/errmsg_library.h"

namespace kestran::platform {

std::string AskErrorMessage(GetErrorMessageFunction get, void* handle, int number, unsigned bufferSize) {
    std::vector<char> buffer(bufferSize + 1, '\0');  // one spare byte: the text always ends
    if (get(handle, number, buffer.data(), bufferSize) == 0) return {};
    return std::string(buffer.data(), strnlen(buffer.data(), bufferSize));
}

}  // namespace kestran::platform
