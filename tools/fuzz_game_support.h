// Shared by the fuzz targets that run the console or the game: one session per process, made
// on the first input, with a runtime over a window that types a list of events and shows
// nothing and over drive folders held in memory. After every input the runtime, the window and
// the drives go back to their start, so that the next input behaves as in a new process, at
// the cost of a few copies instead of a new runtime.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/memory_file_system.h"
#include "platform/platform.h"
#include "platform/recording.h"
#include "platform/tracing.h"
#include "runtime/frame/program.h"
#include "runtime/runtime.h"
#include "runtime/values/sjis.h"

namespace kestran::fuzz {

inline bool EncodeUtf8Char(std::string_view utf8, std::string& sjis) {
    return Utf8ToSjis(utf8, sjis);
}

// Types its events one per wait; when they run out the window counts as closed, which ends the
// program normally.
class ScriptWindow final : public platform::Window {
public:
    std::deque<platform::Event> events;
    int beeps = 0;

    void Present(const platform::FrameView&) override {}
    bool WaitEvent(platform::Event& event, int) override {
        if (events.empty()) {
            event = platform::Event::Of(platform::Event::Kind::Close);
        } else {
            event = std::move(events.front());
            events.pop_front();
        }
        return true;
    }
    bool PollEvent(platform::Event&) override { return false; }
    void Beep() override { ++beeps; }
    void SetTextInput(bool, int, int) override {}
    void ShowMessage(const std::string&, const std::string&) override {}
    // Nothing is shown, so no frame is made (but for the replay's trace, which asks for them).
    bool WantsPixels() const override { return false; }
    bool WantsFrames() const override { return false; }

    // Appends keys in the key-script notation ("Y", "{Enter}", "{x81}"); a script that does not
    // parse is a fault of the target itself.
    void Type(std::string_view script) {
        platform::KeyScript parsed;
        std::string error;
        if (!platform::ParseKeyScript(script, false, EncodeUtf8Char, parsed, error)) std::abort();
        for (auto& e : parsed.keys)
            events.push_back(std::move(e));
    }
};

// Set by the corpus replay, which runs every input a second time after another one: each run
// then leaves in lastRecord its trace (the screen at every key), its last screen and picture and
// the files of its drives, which must be the same both times.
inline bool recordRuns = false;
inline std::string lastRecord;

// A file on a drive at the start of an input.
struct DriveFile {
    char drive;
    std::string_view name;
    std::string_view bytes;
};

class Session {
public:
    static constexpr std::string_view kDrivesRoot = "/fuzz-drives";

    // The session of this process with `files` on the drives (and no other file and no other
    // drive). All the rest is at its start: the session is new, or the last input's run reset it.
    // An input starts the session, then runs once.
    static Session& Start(std::initializer_list<DriveFile> files) {
        static Session& session = *new Session;  // never destroyed: inputs may run until exit
        session.PutFiles(files);
        return session;
    }

    // Runs `body` as the program's main body, then brings the session back to its start. A fatal
    // run-time error is a finding.
    void Run(const MainBody& body) {
        std::ostringstream trace;
        std::optional<platform::TracingWindow> tracer;
        if (recordRuns) platform.window = &tracer.emplace(window, trace, EncodeUtf8Char);
        const int status = RunProgram(rt, body);
        platform.window = &window;
        if (recordRuns) lastRecord = trace.str() + RecordEnd();
        if (status == kExitFatalError) std::abort();
        Reset();
    }

    static std::string DrivePath(char drive) { return std::string(kDrivesRoot) + "/" + drive; }
    void MakeDrive(char drive) { memory.MakeFolder(DrivePath(drive)); }
    // The file's bytes; nullopt when there is none.
    std::optional<std::string> ReadDriveFile(char drive, const std::string& name) const {
        const auto contents = memory.contents();
        const auto folder = contents.find(DrivePath(drive));
        if (folder == contents.end() || !folder->second.contains(name)) return std::nullopt;
        return folder->second.at(name);
    }

    ScriptWindow window;
    platform::FixedClock clock{platform::LocalTime{2024, 5, 6, 7, 8, 9}};
    platform::MemoryFileSystem memory;
    platform::DriveMap drives{std::string(kDrivesRoot), &memory};
    platform::Platform platform;
    Runtime rt{platform};

private:
    Session() {
        platform.window = &window;
        platform.clock = &clock;
        platform.drives = &drives;
    }

    // The runtime, the window and the drives back to their start. It comes at the end of a run,
    // so that what the input made is freed within its own run: libFuzzer counts allocations
    // against frees per input and runs again one that seems to leak.
    void Reset() {
        rt.Reset();  // first: it drops the files the input left open on the drives
        window = ScriptWindow();
        PutFiles({});
    }

    void PutFiles(std::initializer_list<DriveFile> files) {
        platform::MemoryFileSystem::Contents contents;
        for (const auto& f : files)
            contents[DrivePath(f.drive)][std::string(f.name)] = f.bytes;
        memory.Restore(contents);
        drives = platform::DriveMap(std::string(kDrivesRoot), &memory);
    }

    // What the trace does not show of the end of a run: the cells with their colours, the
    // cursor, the picture, the runtime's hidden counters and the drives' files.
    std::string RecordEnd() const {
        const auto hash = [](const void* data, std::size_t size) {
            uint64_t h = 14695981039346656037u;
            for (std::size_t i = 0; i < size; ++i)
                h = (h ^ static_cast<const uint8_t*>(data)[i]) * 1099511628211u;
            return std::to_string(h);
        };
        const auto& console = rt.console;
        std::string out = "## cells " + hash(&console.screen, sizeof console.screen) + " cursor " +
                          std::to_string(console.text.cursorRow) + "," + std::to_string(console.text.cursorColumn) +
                          " picture " +
                          hash(console.picture.Row(0), sizeof(uint32_t) * Picture::kWidth * Picture::kHeight) + "\n";
        out += "## random " + std::to_string(rt.random.seed) + " returns " + std::to_string(rt.returns.depth()) +
               " files " + std::to_string(rt.files.openCount()) + " keys " + std::to_string(console.keys.Size()) +
               " error " + std::to_string(rt.frame.error.lastNumber) + "\n";
        for (const auto& [folder, files] : memory.contents()) {
            out += "## folder " + folder + "\n";
            for (const auto& [name, bytes] : files)
                out += "## file " + name + " " + std::to_string(bytes.size()) + " " + hash(bytes.data(), bytes.size()) +
                       "\n";
        }
        return out;
    }
};

}  // namespace kestran::fuzz
