#include "platform/sdl/sdl_desktop.h"

#include <sys/wait.h>
#include <unistd.h>

#include <system_error>

namespace kestran::platform::sdl {

void OpenHelpFile(const std::filesystem::path& file) {
    if (file.empty() || file.native().size() > kMaxHelpPath) return;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return;
    const std::string path = file.string();  // prepared before fork: the child only execs
    const pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        // The viewer is left to run on its own: its parent exits at once, so no zombie stays.
        setsid();
        if (fork() == 0) {
            execlp("xdg-open", "xdg-open", path.c_str(), static_cast<char*>(nullptr));
        }
        _exit(0);
    }
    waitpid(child, nullptr, 0);
}

}  // namespace kestran::platform::sdl
