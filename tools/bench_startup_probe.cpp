// Loaded with LD_PRELOAD into a program under measurement: writes the CLOCK_MONOTONIC time of
// the program's first SDL_RenderPresent (its first presented frame), in nanoseconds, to the file
// named by KESTRAN_PROBE_FILE, then passes every call on to SDL.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

using RenderPresent = void (*)(void*);

bool g_reported = false;

void ReportFirstPresent() {
    g_reported = true;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* file = std::getenv("KESTRAN_PROBE_FILE");
    if (!file) return;
    const int fd = open(file, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return;
    char text[64];
    const int n =
        std::snprintf(text, sizeof text, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    if (n > 0) (void)!write(fd, text, static_cast<size_t>(n));
    close(fd);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void SDL_RenderPresent(void* renderer) {
    if (!g_reported) ReportFirstPresent();
    static RenderPresent real = [] {
        RenderPresent f = nullptr;
        void* symbol = dlsym(RTLD_NEXT, "SDL_RenderPresent");
        static_assert(sizeof f == sizeof symbol);
        __builtin_memcpy(&f, &symbol, sizeof f);
        return f;
    }();
    if (real) real(renderer);
}
