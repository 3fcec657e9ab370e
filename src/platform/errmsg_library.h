// The error-message library: a shared library outside the program that gives the explanatory
// text of a run-time error number. It is loaded for each lookup and unloaded again, so a
// library installed or replaced while the program runs is used from the next error on.
#pragma once

#include <filesystem>
#include <string>

namespace kestran::platform {

// The library's file name in its folder (the build names it as the system names libraries).
#ifndef KESTRAN_ERRMSG_FILE_NAME
#define KESTRAN_ERRMSG_FILE_NAME "libkestran_errmsg.so"
#endif
inline constexpr const char* kErrorMessageLibraryName = KESTRAN_ERRMSG_FILE_NAME;

// The library's export: writes the zero-terminated Shift-JIS text of `number` into `buffer`
// (at most `size` bytes with the terminator) and returns nonzero, or returns 0 for no text.
// `handle` is the library's own handle, as the loader got it.
using GetErrorMessageFunction = int (*)(void* handle, int number, char* buffer, unsigned size);
inline constexpr const char* kErrorMessageExport = "PbGetErrMsg";
// The same for the English text (ASCII); a library without it is asked for the Japanese one.
inline constexpr const char* kEnglishErrorMessageExport = "PbGetErrMsgEn";

enum class MessageLanguage { Japanese, English };

// Buffer sizes of the two reports.
constexpr unsigned kScreenReportBuffer = 260;
constexpr unsigned kMessageBoxBuffer = 256;

// Calls the loaded library's export with a buffer of `bufferSize` bytes: the text it wrote, or
// empty for none.
std::string AskErrorMessage(GetErrorMessageFunction get, void* handle, int number, unsigned bufferSize);

// The text of error `number` in `language` (Shift-JIS) from the library in `folder`, asked with
// a buffer of `bufferSize` bytes. Empty when the library is missing or not loadable, lacks the
// export, or has no text for the number.
std::string LookupErrorMessage(const std::filesystem::path& folder, int number, unsigned bufferSize,
                               MessageLanguage language = MessageLanguage::Japanese);

}  // namespace kestran::platform
