#include "runtime/console/romaji.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "runtime/values/sjis_literal.h"

namespace kestran {
namespace {

template <Utf8Literal L>
inline constexpr auto kSjis = operator""_sj<L>();
template <Utf8Literal L>
inline constexpr std::string_view kKana = kSjis<L>.view();

struct Syllable {
    std::string_view romaji;
    std::string_view kana;
};

// Hepburn and Kunrei spellings, with the usual x/l prefixes for the small kana.
constexpr auto kSyllables = std::to_array<Syllable>({
    {"a", kKana<"ア">},     {"i", kKana<"イ">},     {"u", kKana<"ウ">},     {"e", kKana<"エ">},
    {"o", kKana<"オ">},     {"ka", kKana<"カ">},    {"ki", kKana<"キ">},    {"ku", kKana<"ク">},
    {"ke", kKana<"ケ">},    {"ko", kKana<"コ">},    {"ca", kKana<"カ">},    {"cu", kKana<"ク">},
    {"co", kKana<"コ">},    {"qa", kKana<"クァ">},  {"qi", kKana<"クィ">},  {"qe", kKana<"クェ">},
    {"qo", kKana<"クォ">},  {"kya", kKana<"キャ">}, {"kyu", kKana<"キュ">}, {"kyo", kKana<"キョ">},
    {"sa", kKana<"サ">},    {"si", kKana<"シ">},    {"shi", kKana<"シ">},   {"su", kKana<"ス">},
    {"se", kKana<"セ">},    {"so", kKana<"ソ">},    {"sha", kKana<"シャ">}, {"shu", kKana<"シュ">},
    {"she", kKana<"シェ">}, {"sho", kKana<"ショ">}, {"sya", kKana<"シャ">}, {"syu", kKana<"シュ">},
    {"syo", kKana<"ショ">}, {"ta", kKana<"タ">},    {"ti", kKana<"チ">},    {"chi", kKana<"チ">},
    {"tu", kKana<"ツ">},    {"tsu", kKana<"ツ">},   {"te", kKana<"テ">},    {"to", kKana<"ト">},
    {"cha", kKana<"チャ">}, {"chu", kKana<"チュ">}, {"che", kKana<"チェ">}, {"cho", kKana<"チョ">},
    {"tya", kKana<"チャ">}, {"tyu", kKana<"チュ">}, {"tyo", kKana<"チョ">}, {"cya", kKana<"チャ">},
    {"cyu", kKana<"チュ">}, {"cyo", kKana<"チョ">}, {"tsa", kKana<"ツァ">}, {"thi", kKana<"ティ">},
    {"thu", kKana<"テュ">}, {"twu", kKana<"トゥ">}, {"na", kKana<"ナ">},    {"ni", kKana<"ニ">},
    {"nu", kKana<"ヌ">},    {"ne", kKana<"ネ">},    {"no", kKana<"ノ">},    {"nya", kKana<"ニャ">},
    {"nyu", kKana<"ニュ">}, {"nyo", kKana<"ニョ">}, {"ha", kKana<"ハ">},    {"hi", kKana<"ヒ">},
    {"hu", kKana<"フ">},    {"fu", kKana<"フ">},    {"he", kKana<"ヘ">},    {"ho", kKana<"ホ">},
    {"hya", kKana<"ヒャ">}, {"hyu", kKana<"ヒュ">}, {"hyo", kKana<"ヒョ">}, {"fa", kKana<"ファ">},
    {"fi", kKana<"フィ">},  {"fe", kKana<"フェ">},  {"fo", kKana<"フォ">},  {"fyu", kKana<"フュ">},
    {"ma", kKana<"マ">},    {"mi", kKana<"ミ">},    {"mu", kKana<"ム">},    {"me", kKana<"メ">},
    {"mo", kKana<"モ">},    {"mya", kKana<"ミャ">}, {"myu", kKana<"ミュ">}, {"myo", kKana<"ミョ">},
    {"ya", kKana<"ヤ">},    {"yu", kKana<"ユ">},    {"ye", kKana<"イェ">},  {"yo", kKana<"ヨ">},
    {"ra", kKana<"ラ">},    {"ri", kKana<"リ">},    {"ru", kKana<"ル">},    {"re", kKana<"レ">},
    {"ro", kKana<"ロ">},    {"rya", kKana<"リャ">}, {"ryu", kKana<"リュ">}, {"ryo", kKana<"リョ">},
    {"wa", kKana<"ワ">},    {"wi", kKana<"ウィ">},  {"we", kKana<"ウェ">},  {"wo", kKana<"ヲ">},
    {"ga", kKana<"ガ">},    {"gi", kKana<"ギ">},    {"gu", kKana<"グ">},    {"ge", kKana<"ゲ">},
    {"go", kKana<"ゴ">},    {"gya", kKana<"ギャ">}, {"gyu", kKana<"ギュ">}, {"gyo", kKana<"ギョ">},
    {"za", kKana<"ザ">},    {"zi", kKana<"ジ">},    {"ji", kKana<"ジ">},    {"zu", kKana<"ズ">},
    {"ze", kKana<"ゼ">},    {"zo", kKana<"ゾ">},    {"ja", kKana<"ジャ">},  {"ju", kKana<"ジュ">},
    {"je", kKana<"ジェ">},  {"jo", kKana<"ジョ">},  {"jya", kKana<"ジャ">}, {"jyu", kKana<"ジュ">},
    {"jyo", kKana<"ジョ">}, {"zya", kKana<"ジャ">}, {"zyu", kKana<"ジュ">}, {"zyo", kKana<"ジョ">},
    {"da", kKana<"ダ">},    {"di", kKana<"ヂ">},    {"du", kKana<"ヅ">},    {"de", kKana<"デ">},
    {"do", kKana<"ド">},    {"dhi", kKana<"ディ">}, {"dhu", kKana<"デュ">}, {"dwu", kKana<"ドゥ">},
    {"dya", kKana<"ヂャ">}, {"dyu", kKana<"ヂュ">}, {"dyo", kKana<"ヂョ">}, {"ba", kKana<"バ">},
    {"bi", kKana<"ビ">},    {"bu", kKana<"ブ">},    {"be", kKana<"ベ">},    {"bo", kKana<"ボ">},
    {"bya", kKana<"ビャ">}, {"byu", kKana<"ビュ">}, {"byo", kKana<"ビョ">}, {"pa", kKana<"パ">},
    {"pi", kKana<"ピ">},    {"pu", kKana<"プ">},    {"pe", kKana<"ペ">},    {"po", kKana<"ポ">},
    {"pya", kKana<"ピャ">}, {"pyu", kKana<"ピュ">}, {"pyo", kKana<"ピョ">}, {"va", kKana<"ヴァ">},
    {"vi", kKana<"ヴィ">},  {"vu", kKana<"ヴ">},    {"ve", kKana<"ヴェ">},  {"vo", kKana<"ヴォ">},
    {"xa", kKana<"ァ">},    {"xi", kKana<"ィ">},    {"xu", kKana<"ゥ">},    {"xe", kKana<"ェ">},
    {"xo", kKana<"ォ">},    {"la", kKana<"ァ">},    {"li", kKana<"ィ">},    {"lu", kKana<"ゥ">},
    {"le", kKana<"ェ">},    {"lo", kKana<"ォ">},    {"xya", kKana<"ャ">},   {"xyu", kKana<"ュ">},
    {"xyo", kKana<"ョ">},   {"lya", kKana<"ャ">},   {"lyu", kKana<"ュ">},   {"lyo", kKana<"ョ">},
    {"xtu", kKana<"ッ">},   {"xtsu", kKana<"ッ">},  {"ltu", kKana<"ッ">},   {"ltsu", kKana<"ッ">},
    {"xwa", kKana<"ヮ">},   {"xka", kKana<"ヵ">},   {"xke", kKana<"ヶ">},   {"-", kKana<"ー">},
});

constexpr std::string_view kSmallTsu = kKana<"ッ">;
constexpr std::string_view kSyllabicN = kKana<"ン">;

bool IsVowel(char c) {
    return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o';
}

// The syllables that begin with each byte, in the table's order: a typed letter is looked up
// among a handful instead of the whole table.
const std::vector<const Syllable*>& SyllablesBeginningWith(char first) {
    static const auto kByFirst = [] {
        std::array<std::vector<const Syllable*>, 256> byFirst;
        for (const Syllable& s : kSyllables)
            byFirst[static_cast<unsigned char>(s.romaji[0])].push_back(&s);
        return byFirst;
    }();
    return kByFirst[static_cast<unsigned char>(first)];
}

// The syllable spelled at the start of `letters`, the longest first.
const Syllable* Spelled(std::string_view letters) {
    if (letters.empty()) return nullptr;
    const Syllable* best = nullptr;
    for (const Syllable* s : SyllablesBeginningWith(letters[0])) {
        if (letters.starts_with(s->romaji) && (!best || s->romaji.size() > best->romaji.size())) best = s;
    }
    return best;
}

// Whether `letters` could still grow into a syllable.
bool BeginsASyllable(std::string_view letters) {
    if (letters.empty()) return true;
    const auto& candidates = SyllablesBeginningWith(letters[0]);
    return std::any_of(candidates.begin(), candidates.end(), [&](const Syllable* s) {
        return s->romaji.size() > letters.size() && s->romaji.starts_with(letters);
    });
}

// The "n" at the start of `letters`: ン when what follows cannot make it a syllable of its own.
// Gives the letters it takes (0: not decided yet, or not a syllabic n).
std::size_t SyllabicN(std::string_view letters, bool finished) {
    if (letters.size() == 1) return finished ? 1 : 0;
    const char next = letters[1];
    if (next == 'n' || next == '\'') return 2;
    if (IsVowel(next) || next == 'y') return 0;
    return 1;
}

// A doubled consonant ("kk", and "tch" of Hepburn) is the small tsu before the second one.
bool DoubledConsonant(std::string_view letters) {
    if (letters.size() < 2) return false;
    const char c = letters[0];
    if (!std::isalpha(static_cast<unsigned char>(c)) || IsVowel(c) || c == 'n') return false;
    return letters[1] == c || letters.starts_with("tch");
}

}  // namespace

bool IsRomajiByte(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '-' || c == '\'';
}

RomajiConversion ConvertRomaji(std::string_view typed, bool finished) {
    PbString lower(typed);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    RomajiConversion out;
    std::size_t i = 0;
    while (i < lower.size()) {
        const std::string_view rest = std::string_view(lower).substr(i);
        if (rest[0] == 'n') {
            if (const std::size_t taken = SyllabicN(rest, finished)) {
                out.kana += kSyllabicN;
                i += taken;
                continue;
            }
        }
        if (DoubledConsonant(rest)) {
            out.kana += kSmallTsu;
            ++i;
            continue;
        }
        if (const Syllable* s = Spelled(rest)) {
            out.kana += s->kana;
            i += s->romaji.size();
            continue;
        }
        if (!finished && (BeginsASyllable(rest) || rest == "tc")) break;
        out.kana += typed[i];  // a letter that begins no syllable stays as it was typed
        ++i;
    }
    out.pending = PbString(typed.substr(i));
    return out;
}

}  // namespace kestran
