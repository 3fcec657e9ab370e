#include "game/language/catalogue.h"

#include <cctype>

#include "runtime/values/sjis.h"

namespace kestran::game {

// The text of po/en.po, built into the program (generated from the file by CMake).
extern const std::string_view kEnglishPo;

namespace {

constexpr char kContextEnd = '\x04';  // gettext's own separator of context and text

// The value of a quoted po string, escapes resolved; empty when the line holds none.
std::string Unquote(std::string_view line) {
    const auto open = line.find('"');
    const auto close = line.rfind('"');
    std::string out;
    if (open == std::string_view::npos || close <= open) return out;
    for (std::size_t i = open + 1; i < close; ++i) {
        if (line[i] != '\\' || i + 1 == close) {
            out += line[i];
            continue;
        }
        const char c = line[++i];
        out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
    return out;
}

bool StartsWith(std::string_view s, std::string_view head) {
    return s.substr(0, head.size()) == head;
}

// One entry as it is read: the fields of the lines seen so far.
struct Entry {
    std::string context, id, text;
    std::string* field = nullptr;
    bool fuzzy = false;
    bool hasId = false;
};

}  // namespace

Catalogue Catalogue::FromPo(std::string_view po) {
    Catalogue catalogue;
    Entry e;
    const auto finish = [&] {
        if (e.hasId && !e.fuzzy && !e.id.empty() && !e.text.empty()) catalogue.Add(e.context, e.id, e.text);
        e = Entry{};
    };
    while (!po.empty()) {
        const auto end = po.find('\n');
        std::string_view line = po.substr(0, end);
        po = end == std::string_view::npos ? std::string_view{} : po.substr(end + 1);
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.remove_suffix(1);
        if (StartsWith(line, "#,") && line.find("fuzzy") != std::string_view::npos) {
            if (e.field == &e.text) finish();
            e.fuzzy = true;
        } else if (StartsWith(line, "msgctxt ") || StartsWith(line, "msgid ")) {
            if (e.field == &e.text) finish();
            e.field = StartsWith(line, "msgctxt ") ? &e.context : &e.id;
            *e.field = Unquote(line);
            e.hasId = e.hasId || e.field == &e.id;
        } else if (StartsWith(line, "msgstr ")) {
            e.field = &e.text;
            e.text = Unquote(line);
        } else if (StartsWith(line, "\"") && e.field != nullptr) {
            *e.field += Unquote(line);
        }
    }
    finish();
    return catalogue;
}

void Catalogue::Add(const std::string& context, const std::string& id, const std::string& text) {
    std::string shown;
    if (!Utf8ToSjis(text, shown)) return;
    if (id.find("{1}") == std::string::npos) {
        std::string key;
        if (!Utf8ToSjis(context.empty() ? id : context + kContextEnd + id, key)) return;
        texts_.insert_or_assign(std::move(key), std::move(shown));
        return;
    }
    // Cut at the places in UTF-8: a "{" byte may be the second byte of a Shift-JIS character.
    Pattern pattern;
    std::size_t at = 0;
    while (at < id.size()) {
        const auto open = id.find('{', at);
        const auto close = open == std::string::npos ? open : id.find('}', open);
        const bool place =
            close != std::string::npos && close > open + 1 && std::isdigit(static_cast<unsigned char>(id[open + 1]));
        const std::size_t literalEnd = place ? open : id.size();
        if (literalEnd > at) {
            std::string piece;
            if (!Utf8ToSjis(id.substr(at, literalEnd - at), piece)) return;
            pattern.pieces.push_back(std::move(piece));
        }
        if (!place) break;
        pattern.pieces.emplace_back();
        ++pattern.places;
        at = close + 1;
    }
    pattern.translation = std::move(shown);
    pattern.id = id;
    patterns_.push_back(std::move(pattern));
}

const std::string* Catalogue::Find(std::string_view sjis, std::string_view context) const {
    std::string key = context.empty() ? std::string(sjis) : std::string(context) + kContextEnd + std::string(sjis);
    const auto it = texts_.find(key);
    return it == texts_.end() ? nullptr : &it->second;
}

std::vector<std::string> Catalogue::Ids() const {
    std::vector<std::string> ids;
    for (const auto& [key, text] : texts_)
        ids.push_back(SjisToUtf8(key));
    for (const Pattern& p : patterns_)
        ids.push_back(p.id);
    return ids;
}

const Catalogue* CatalogueFor(Language language) {
    if (language == Language::Japanese) return nullptr;
    static const Catalogue english = Catalogue::FromPo(kEnglishPo);
    return &english;
}

bool LanguageFromName(std::string_view name, Language& out) {
    const std::string_view code = name.substr(0, 2);
    if (name.size() > 2 && name[2] != '_' && name[2] != '-' && name[2] != '.' && name[2] != '@') return false;
    if (code == "ja") {
        out = Language::Japanese;
    } else if (code == "en") {
        out = Language::English;
    } else {
        return false;
    }
    return true;
}

}  // namespace kestran::game
