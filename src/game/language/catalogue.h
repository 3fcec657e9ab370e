// One language's translation of the game's texts: the entries of a gettext catalogue, keyed by
// the Japanese text as Shift-JIS (and its context where one Japanese text needs two
// translations). A Japanese text that the game builds from pieces is one entry with numbered
// places, `{1}は{2}の攻撃をひらりとかわした！`, whose translation may name them in any order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestran::game {

enum class Language { Japanese, English };

class Catalogue {
public:
    // A message with places: its Japanese text cut into pieces, one piece for each item the game
    // prints, an empty piece standing for a place; `places` is how many there are.
    struct Pattern {
        std::vector<std::string> pieces;
        std::size_t places = 0;
        std::string translation;
        std::string id;  // the message id as the catalogue writes it (UTF-8)
    };

    // Reads the text of a .po file (UTF-8). The header, entries without a translation and fuzzy
    // ones are left out; so is an entry whose text is not valid Shift-JIS, since the screen could
    // not show it.
    static Catalogue FromPo(std::string_view po);

    // The translation of a whole Japanese text, or null.
    const std::string* Find(std::string_view sjis, std::string_view context = {}) const;
    const std::vector<Pattern>& patterns() const { return patterns_; }
    std::size_t size() const { return texts_.size() + patterns_.size(); }
    // Every message id (UTF-8, a context before its text and "\x04").
    std::vector<std::string> Ids() const;

private:
    void Add(const std::string& context, const std::string& id, const std::string& text);

    std::unordered_map<std::string, std::string> texts_;
    std::vector<Pattern> patterns_;
};

// The catalogue built into the program for `language`; null for Japanese, the game's own.
const Catalogue* CatalogueFor(Language language);

// The language named by "ja", "en" or a locale name such as "en_GB.UTF-8" or "ja-JP".
bool LanguageFromName(std::string_view name, Language& out);

}  // namespace kestran::game
