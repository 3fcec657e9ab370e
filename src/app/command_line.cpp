#include "app/command_line.h"

#include <charconv>
#include <string_view>

namespace kestran::app {

namespace {

bool ParseNumber(std::string_view text, uint64_t limit, uint64_t& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value <= limit;
}

// Applies an option that takes a value.
bool ApplyValue(std::string_view name, const std::string& value, CommandLine& out, std::string& error) {
    uint64_t number = 0;
    if (name == "--backend") {
        if (value != "sdl" && value != "tty" && value != "headless") {
            error = "--backend must be sdl, tty or headless";
            return false;
        }
        out.backend = value;
    } else if (name == "--seed") {
        if (!ParseNumber(value, 0xFFFFFFFFu, number)) {
            error = "--seed needs a whole number from 0 to 4294967295";
            return false;
        }
        out.seed = uint32_t(number);
    } else if (name == "--scale") {
        if (!ParseNumber(value, 16, number) || number == 0) {
            error = "--scale needs a whole number from 1 to 16";
            return false;
        }
        out.scale = int(number);
    } else if (name == "--speed") {
        if (!ParseNumber(value, 1000, number) || number == 0) {
            error = "--speed needs a whole number of keys per second from 1 to 1000";
            return false;
        }
        out.speed = int(number);
    } else if (name == "--drive") {
        if (value.size() < 3 || value[1] != '=' ||
            !((value[0] >= 'A' && value[0] <= 'Z') || (value[0] >= 'a' && value[0] <= 'z'))) {
            error = "--drive needs a letter, '=' and a folder (--drive=D=/some/folder)";
            return false;
        }
        out.driveMaps.emplace_back(value[0], value.substr(2));
    } else if (name == "--language") {
        if (value != "ja" && value != "en") {
            error = "--language must be ja or en";
            return false;
        }
        out.language = value;
    } else if (name == "--keys") {
        out.keys = value;
    } else if (name == "--keys-file") {
        out.keysFile = value;
    } else {
        std::string* target = name == "--drives"      ? &out.drivesRoot
                              : name == "--dump-text" ? &out.dumpText
                              : name == "--dump-png"  ? &out.dumpPng
                              : name == "--trace"     ? &out.trace
                              : name == "--record"    ? &out.record
                              : name == "--watch"     ? &out.watch
                              : name == "--font"      ? &out.font
                                                      : nullptr;
        if (!target) {
            error = "unknown option " + std::string(name);
            return false;
        }
        if (value.empty()) {
            error = std::string(name) + " needs a path";
            return false;
        }
        *target = value;
    }
    return true;
}

bool IsFlag(std::string_view name) {
    return name == "--help" || name == "-h" || name == "--version" || name == "--fullscreen" ||
           name == "--trace-accessible" || name == "--screen-reader";
}

bool TakesValue(std::string_view name) {
    for (std::string_view known :
         {"--backend", "--seed", "--drives", "--drive", "--keys", "--keys-file", "--dump-text", "--dump-png", "--trace",
          "--record", "--scale", "--font", "--watch", "--speed", "--language"}) {
        if (name == known) return true;
    }
    return false;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        if (IsFlag(name) && eq == std::string::npos) {
            if (name == "--fullscreen") out.fullscreen = true;
            if (name == "--help" || name == "-h") out.help = true;
            if (name == "--version") out.version = true;
            if (name == "--trace-accessible") out.traceAccessible = true;
            if (name == "--screen-reader") out.screenReader = true;
            continue;
        }
        if (!TakesValue(name)) {
            error = "unknown option " + arg;
            return false;
        }
        std::string value;
        if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            error = name + " needs a value";
            return false;
        }
        if (!ApplyValue(name, value, out, error)) return false;
    }
    if (out.keys && out.keysFile) {
        error = "--keys and --keys-file exclude each other";
        return false;
    }
    if (!out.watch.empty() && (out.keys || out.keysFile)) {
        error = "--watch and --keys or --keys-file exclude each other";
        return false;
    }
    if (out.speed && out.watch.empty()) {
        error = "--speed is the pace of --watch";
        return false;
    }
    if (out.traceAccessible && out.trace.empty()) {
        error = "--trace-accessible needs --trace";
        return false;
    }
    if (out.screenReader && !out.backend.empty() && out.backend != "tty") {
        error = "--screen-reader is for the terminal (--backend=tty)";
        return false;
    }
    return true;
}

std::string UsageText() {
    return "Usage: kestran [OPTION]...\n"
           "Play KESTRAN, a Japanese dungeon role-playing game, in a window, in a\n"
           "terminal, or headless from a key script.\n"
           "\n"
           "Playing:\n"
           "      --backend=NAME    sdl (a window), tty (the terminal) or headless (keys\n"
           "                        from a script, nothing shown); default: a window when\n"
           "                        there is a display, else the terminal\n"
           "      --scale=N         window scale, 1 to 16 (default: the largest that fits)\n"
           "      --fullscreen      start the window in full screen\n"
           "      --language=LANG   ja (Japanese, the game's own) or en (English); default:\n"
           "                        a watched recording's, else LANGUAGE in env.conf, else\n"
           "                        the locale (LC_ALL, LC_MESSAGES, LANG) in a window or\n"
           "                        a terminal; headless runs are Japanese\n"
           "      --font=PATH       a GNU Unifont .hex font instead of the installed one\n"
           "      --drives=DIR      the folder that holds the drive folders C, D, ...\n"
           "      --drive=X=DIR     drive X is the folder DIR\n"
           "      --seed=N          start the random generator from N (0 to 4294967295)\n"
           "      --record=PATH     write the keys typed as a key script that --keys-file\n"
           "                        replays\n"
           "      --trace=PATH      write the screen at every key wait\n"
           "      --watch=PATH      watch a recorded game (a key script; its '#seed N'\n"
           "                        chooses the seed unless --seed is given), then play\n"
           "                        on from where it ends; see Watching below\n"
           "      --speed=N         keys per second while watching, 1 to 1000 (default 8)\n"
           "      --trace-accessible\n"
           "                        with --trace: also the screen's text for screen\n"
           "                        readers (the corridor in words), as '@@ TEXT ...'\n"
           "      --screen-reader   play by ear in the terminal: the corridor in words\n"
           "                        instead of braille, the cursor on the newest line\n"
           "\n"
           "Headless runs (these choose the headless backend):\n"
           "      --keys=SCRIPT     keys to type, one per character; {Enter} {Esc} {BS}\n"
           "                        {Tab} {Del} {Ins} {Up} {Down} {Left} {Right} {Home}\n"
           "                        {End} {PgUp} {PgDn} {F1}..{F12} {Ctrl-C} {Close}\n"
           "                        {xHH} name keys, {{ is a brace\n"
           "      --keys-file=PATH  the same from a file ('#' lines are comments,\n"
           "                        '#seed N' sets the seed)\n"
           "      --dump-text=PATH  write the last screen as text (UTF-8) at the end\n"
           "      --dump-png=PATH   write the last screen as a PNG picture at the end\n"
           "\n"
           "  -h, --help            display this help and exit\n"
           "      --version         output version information and exit\n"
           "\n"
           "An option's value follows '=' or comes as the next argument.\n"
           "\n"
           "Keys: the cursor keys walk the labyrinth; letters choose from the menus;\n"
           "Ctrl+C is the break. Where a name is typed, Ctrl+O (key script {x0F})\n"
           "switches romaji typing on and off: KA gives \xE3\x82\xAB, NN \xE3\x83\xB3, a doubled consonant\n"
           "a small \xE3\x83\x83. In the window: F1 opens the player's guide, F11 or Alt+Enter\n"
           "is full screen, Ctrl+Shift+S saves a screenshot, Ctrl+Shift+C copies the\n"
           "screen's text.\n"
           "\n"
           "Watching: Space pauses and resumes, Right and Left step a key, + and -\n"
           "double and halve the speed, Home, End, PgUp and PgDn (or a key's number\n"
           "and Enter) go to a key, Esc plays on from there. The watcher's state shows\n"
           "in the window's title, or on the terminal's 25th row (in its title when it\n"
           "has 24 rows). A watched game plays on a copy of the drive folders, made\n"
           "when it starts: it never writes your saves (--record keeps what you play).\n"
           "\n"
           "Files:\n"
           "  ~/.local/share/kestran/drives/X/\n"
           "        the folder of drive X ($XDG_DATA_HOME); the save file is KSSAVE\n"
           "        there, the predecessor's VELDSAVE\n"
           "  /etc/kestran/env.conf, ~/.config/kestran/env.conf\n"
           "        settings: MERIDOX=folder of libkestran_errmsg.so,\n"
           "        HELP=folder of kestran.html, LANGUAGE=ja or en\n"
           "  ~/.local/state/kestran/error.log\n"
           "        the last fatal run-time error ($XDG_STATE_HOME)\n"
           "\n"
           "Exit status: 0 normal end (also the hero's death and a closed window),\n"
           "1 a fatal run-time error or no window could be opened, 2 a bad command line.\n"
           "\n"
           "Full manual: man 6 kestran; the player's guide: kestran.html (F1).\n";
}

std::string VersionText() {
    return "kestran (KESTRAN) " KESTRAN_VERSION
           "\n"
           "A reimplementation of the dungeon role-playing game KESTRAN and its runtime.\n";
}

}  // namespace kestran::app
