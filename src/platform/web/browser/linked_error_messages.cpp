// The error-message lookup of the browser build: a page cannot load a shared library, so the
// error-message library's code is linked into the program and asked directly. The folder it
// would be loaded from does not matter here.
#include <cstring>
#include <vector>

#include "platform/errmsg_library.h"

extern "C" int PbGetErrMsg(void* handle, int number, char* buffer, unsigned size);
extern "C" int PbGetErrMsgEn(void* handle, int number, char* buffer, unsigned size);

namespace kestran::platform {

std::string LookupErrorMessage(const std::filesystem::path&, int number, unsigned bufferSize,
                               MessageLanguage language) {
    if (bufferSize == 0) return {};
    std::vector<char> buffer(bufferSize + 1, '\0');  // one spare byte: the text always ends
    const auto get = language == MessageLanguage::English ? PbGetErrMsgEn : PbGetErrMsg;
    if (get(nullptr, number, buffer.data(), bufferSize) == 0) return {};
    return std::string(buffer.data(), strnlen(buffer.data(), bufferSize));
}

}  // namespace kestran::platform
