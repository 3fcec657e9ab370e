// A translator's check of the screens in another language: a translated text must fit the cells
// its Japanese text had. It notes a text that runs past the right edge, one that writes over
// text already on its row or is itself written over where it is longer than the Japanese, and a
// Japanese text left without a translation.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kestran {
struct Runtime;
}

namespace kestran::game {

class FitCheck {
public:
    // Before `shown`, the translation of a Japanese text `japaneseWidth` cells wide, is printed
    // at the cursor.
    void BeforePrint(const Runtime& rt, std::size_t japaneseWidth, std::string_view shown);
    // After it was printed: looks again at every longer text printed so far.
    void AfterPrint(const Runtime& rt);
    void Untranslated(std::string_view sjis);
    // The screen was cleared: no text stands over another any more.
    void Cleared() { overhangs_.clear(); }
    // A catalogue entry was shown (its message id, UTF-8).
    void Shown(const std::string& id) { shown_.insert(id); }
    const std::set<std::string>& shown() const { return shown_; }

    // Each fault once, as "row N: TEXT: what is wrong" in UTF-8.
    const std::vector<std::string>& faults() const { return faults_; }

private:
    // A translation longer than its Japanese text: where it stands, and how wide the Japanese was.
    struct Overhang {
        int row = 0;
        int column = 0;
        int japaneseWidth = 0;
        std::string text;
    };
    void Fault(int row, std::string_view sjis, std::string_view what);

    std::vector<Overhang> overhangs_;
    Overhang pending_;
    std::vector<std::string> faults_;
    std::set<std::string> shown_;
};

}  // namespace kestran::game
