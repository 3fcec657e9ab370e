// The error log as a file: $XDG_STATE_HOME/kestran/error.log (~/.local/state/kestran/error.log),
// UTF-8 text of KEY=value lines. Each fatal error rewrites MODL, LINE, CODE, FUNC, INFO, TIME,
// MODE and RTL; APIERR, the last system error code turned into an error number, is kept across
// fatal errors and updated on its own. The file is replaced atomically, so a crash while writing
// leaves the previous log whole.
#pragma once

#include <filesystem>
#include <string>

#include "platform/error_log.h"

namespace kestran::platform {

class FileErrorLog final : public ErrorLog {
public:
    explicit FileErrorLog(std::filesystem::path file) : file_(std::move(file)) {}

    // The log file where XDG puts state; empty when there is no home folder.
    static std::filesystem::path DefaultPath();

    void WriteFatal(const FatalErrorRecord& record) override;
    void WriteApiError(uint32_t systemCode) override;

    const std::filesystem::path& path() const { return file_; }

private:
    std::string ReadValue(std::string_view key) const;
    void Replace(const std::string& text) const;

    std::filesystem::path file_;
};

// The KEY=value text of a fatal error record, with an APIERR line when `apiError` is not empty.
std::string FormatErrorLog(const FatalErrorRecord& record, const std::string& apiError);

}  // namespace kestran::platform
