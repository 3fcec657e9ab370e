#include "platform/error_log_file.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <system_error>

#include "platform/settings.h"

namespace kestran::platform {

namespace {

// A log is a dozen short lines; a larger file is not ours to read.
constexpr std::size_t kMaxLogFile = 64 * 1024;

// A value stays on its line whatever bytes the module name brings.
std::string OneLine(std::string_view value) {
    std::string out(value);
    for (char& c : out) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return out;
}

void AppendValue(std::string& text, std::string_view key, std::string_view value) {
    text.append(key).append("=").append(OneLine(value)).append("\n");
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string FormatErrorLog(const FatalErrorRecord& record, const std::string& apiError) {
    std::string text;
    AppendValue(text, "MODL", record.module);
    AppendValue(text, "LINE", std::to_string(record.line));
    AppendValue(text, "CODE", std::to_string(record.code));
    AppendValue(text, "FUNC", std::to_string(record.func));
    AppendValue(text, "INFO", std::to_string(record.info));
    AppendValue(text, "TIME", record.time);
    AppendValue(text, "MODE", record.mode);
    AppendValue(text, "RTL", record.rtl);
    if (!apiError.empty()) AppendValue(text, "APIERR", apiError);
    return text;
}

std::filesystem::path FileErrorLog::DefaultPath() {
    auto state = XdgBaseFolder("XDG_STATE_HOME", ".local/state");
    if (state.empty()) return {};
    return state / "kestran" / "error.log";
}

void FileErrorLog::WriteFatal(const FatalErrorRecord& record) {
    Replace(FormatErrorLog(record, ReadValue("APIERR")));
}

void FileErrorLog::WriteApiError(uint32_t systemCode) {
    std::string text;
    std::string old;
    {
        std::ifstream in(file_, std::ios::binary);
        std::string line;
        while (in && text.size() < kMaxLogFile && std::getline(in, line)) {
            old.append(line).append("\n");
            if (line.rfind("APIERR=", 0) != 0) text.append(line).append("\n");
        }
    }
    AppendValue(text, "APIERR", std::to_string(systemCode));
    // A program that meets the same failure again and again (a name refused at every try) would
    // otherwise rewrite and sync the same file each time.
    if (text == old) return;
    Replace(text);
}

std::string FileErrorLog::ReadValue(std::string_view key) const {
    std::ifstream in(file_, std::ios::binary);
    std::string line;
    std::size_t read = 0;
    while (in && read < kMaxLogFile && std::getline(in, line)) {
        read += line.size() + 1;
        if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 && line[key.size()] == '=') {
            return line.substr(key.size() + 1);
        }
    }
    return {};
}

// Writes a temporary file beside the log and renames it over the log. Every failure leaves the
// old log as it was and is otherwise ignored: the report must go on without its log.
void FileErrorLog::Replace(const std::string& text) const {
    if (file_.empty()) return;
    std::error_code ec;
    std::filesystem::create_directories(file_.parent_path(), ec);
    std::string temp = file_.string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return;
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    ::close(fd);
    if (!written || std::rename(temp.c_str(), file_.c_str()) != 0) ::unlink(temp.c_str());
}

}  // namespace kestran::platform
