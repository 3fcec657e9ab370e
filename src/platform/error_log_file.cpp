#include "platform/error_log_file.h"

#include <fstream>
#include <system_error>

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/utf8_path.h"

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

bool WriteAll(FileSystem& fs, int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const long n = fs.Write(fd, text.data() + done, text.size() - done);
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
    const auto parent = file_.has_parent_path() ? file_.parent_path() : std::filesystem::path(".");
    std::filesystem::create_directories(parent, ec);
    FileSystem& fs = SystemFileSystem();
    const int folder = fs.OpenFolder(Utf8String(parent));
    if (folder < 0) return;
    const std::string name = Utf8String(file_.filename());
    // One temporary name per process: what a killed run of this process number left is replaced.
    const std::string temp = name + ".tmp-" + std::to_string(CurrentProcessId());
    fs.Remove(folder, temp);
    const int fd = fs.CreateExclusive(folder, temp);
    if (fd >= 0) {
        const bool written = WriteAll(fs, fd, text) && fs.Sync(fd) == 0;
        fs.Close(fd);
        if (!written || fs.Rename(folder, temp, name, true) < 0) fs.Remove(folder, temp);
    }
    fs.Close(folder);
}

}  // namespace kestran::platform
