// What the program asks of the page around it besides the window: the font asset, the browser's
// storage for the drive folders, the seed a test may give in the page's address, and the news
// that the game has ended.
#pragma once

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>

#include "platform/recording.h"

namespace kestran::platform::web {

// Where the drive folders live in the program's file system, mirrored in the browser's storage.
inline constexpr const char* kDrivesRoot = "/drives";

// The packed font asset, fetched and unpacked from gzip by the page. False when it could not be
// had; the page has said why.
bool FetchFontAsset(std::string& bytes);

// Mounts the browser's storage at kDrivesRoot and starts bringing in what it holds; the
// program takes keys from here on. AwaitDrives waits until the drives are in: false when the
// browser keeps no storage for the page (the drives then live in memory only, and the page says
// so). Nothing may touch kDrivesRoot in between.
void StartMountingDrives();
bool AwaitDrives();

// Writes the drive folders' changes into the browser's storage: 0, or the negative error number
// of the browser's refusal (-ENOSPC when its storage is full).
int PersistDrives();

// Brings in what other tabs of the page have stored since, where this one changed nothing.
void RefreshDrives();

// The seed the page's address names (?seed=N), for reproducible runs.
std::optional<uint32_t> PageSeed();

// The language the player chose on the page ("ja", "en"), remembered from an earlier visit;
// empty when none was chosen.
std::string PageChosenLanguage();
// The language of the browser's first language ("ja" for Japanese, else "en").
std::string BrowserLanguage();

// The recording the page's address names (#replay=...), as the page decoded it; nothing when the
// address names none or the page could not read it (it has said why).
std::optional<std::string> PageReplay();

// Tells the page that the recording it handed in cannot be watched, and why: the game starts as
// it would without it.
void TellReplayRefused(const std::string& why);

// The recording of the session (the seed, then every key the program took), which the page
// saves as a key script or shares as a link.
std::ostringstream& SessionRecording();

// How the page's keys in key-script notation (kestran_press) turn UTF-8 text into Shift-JIS:
// the program's own conversion, handed in by the program.
void SetKeyScriptEncoder(Utf8CharToSjis encode);

// Tells the page that the program has ended with `status`.
void TellGameEnded(int status);

}  // namespace kestran::platform::web
