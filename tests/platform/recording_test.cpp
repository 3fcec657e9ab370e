#include "platform/recording.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/fake_window.h"

namespace kestran::platform {
namespace {

// Two characters are enough to see the script hand whole UTF-8 characters to the code page.
bool TinyCodePage(std::string_view utf8, std::string& sjis) {
    if (utf8 == "ア")
        sjis = "\x83\x41";
    else if (utf8 == "あ")
        sjis = "\x82\xA0";
    else
        return false;
    return true;
}

KeyScript Parse(std::string_view text, bool isFile = false) {
    KeyScript script;
    std::string error;
    EXPECT_TRUE(ParseKeyScript(text, isFile, TinyCodePage, script, error)) << error;
    return script;
}

std::string Notations(const KeyScript& script) {
    std::string out;
    for (const auto& e : script.keys)
        out += KeyNotation(e) + " ";
    return out;
}

TEST(KeyScriptTest, EachCharacterIsOneKeyAndLineBreaksAreIgnored) {
    const auto script = Parse("ab\n c\r\n{{}");
    EXPECT_EQ(Notations(script), "a b   c {{ } ");
    ASSERT_EQ(script.keys.size(), 6u);
    EXPECT_EQ(script.keys[4].byte, '{');
}

TEST(KeyScriptTest, NamedKeysAndBytes) {
    const auto script = Parse(
        "{Enter}{Esc}{BS}{Tab}{Del}{Ins}{Up}{Down}{Left}{Right}{Home}{End}{PgUp}{PgDn}{F1}{F12}{Ctrl-C}{Close}"
        "{x00}{xff}{x41}{enter}");
    EXPECT_EQ(Notations(script),
              "{Enter} {Esc} {BS} {Tab} {Del} {Ins} {Up} {Down} {Left} {Right} {Home} {End} {PgUp} {PgDn} {F1} "
              "{F12} {Ctrl-C} {Close} {x00} {xFF} A {Enter} ");
    EXPECT_EQ(script.keys[0].kind, Event::Kind::Character);
    EXPECT_EQ(script.keys[0].byte, 13);
    EXPECT_EQ(script.keys[4].kind, Event::Kind::KeyDown);
    EXPECT_EQ(script.keys[4].key, Key::Delete);
    EXPECT_EQ(script.keys[17].kind, Event::Kind::Close);
}

TEST(KeyScriptTest, TextOutsideAsciiIsTypedAsItsShiftJisBytes) {
    const auto script = Parse("aアあ");
    EXPECT_EQ(Notations(script), "a {x83} A {x82} {xA0} ");
}

TEST(KeyScriptTest, FaultsAreRefusedWithTheirLine) {
    KeyScript script;
    std::string error;
    EXPECT_FALSE(ParseKeyScript("ok\n{Entr}", false, TinyCodePage, script, error));
    EXPECT_EQ(error, "key script, line 2: unknown key name {Entr}");
    EXPECT_FALSE(ParseKeyScript("{Enter", false, TinyCodePage, script, error));
    EXPECT_NE(error.find("without its '}'"), std::string::npos);
    EXPECT_FALSE(ParseKeyScript("a\n{Ent\ner}", false, TinyCodePage, script, error));  // a name ends on its line
    EXPECT_EQ(error, "key script, line 2: a '{' without its '}'");
    EXPECT_FALSE(ParseKeyScript("{x4}", false, TinyCodePage, script, error));
    EXPECT_FALSE(ParseKeyScript("{xGG}", false, TinyCodePage, script, error));
    EXPECT_FALSE(ParseKeyScript("漢", false, TinyCodePage, script, error));  // no Shift-JIS form here
    EXPECT_NE(error.find("line 1"), std::string::npos);
    EXPECT_FALSE(ParseKeyScript("\xE3\x82", false, TinyCodePage, script, error));  // cut short
    EXPECT_FALSE(ParseKeyScript("\xFF", false, TinyCodePage, script, error));
}

TEST(KeyScriptTest, CommentLinesAndTheSeedBelongToKeyFilesOnly) {
    const auto file = Parse("#seed 1234\n# a note\nab\n#c\nd", true);
    EXPECT_EQ(Notations(file), "a b d ");
    ASSERT_TRUE(file.seed.has_value());
    EXPECT_EQ(*file.seed, 1234u);
    const auto inline_ = Parse("#seed 1\n", false);
    EXPECT_FALSE(inline_.seed.has_value());
    EXPECT_EQ(inline_.keys.size(), 7u);
    EXPECT_FALSE(Parse("#seed 99999999999\n", true).seed.has_value());
    // A '#' after the start of a line is a key.
    EXPECT_EQ(Notations(Parse("a#", true)), "a # ");
}

TEST(RecordingTest, ARecordingInAnotherLanguageNotesItUnderTheSeed) {
    testing::FakeWindow inner;
    std::ostringstream out;
    RecordingWindow recorder(inner, out, 5, TinyCodePage, "en");
    EXPECT_EQ(out.str(), "#seed 5\n#language en\n");
    EXPECT_EQ(Parse(out.str() + "x", true).language, "en");
    EXPECT_EQ(Parse("#seed 5\nx", true).language, "");
}

TEST(RecordingTest, ARecordingReplaysTheSameKeys) {
    testing::FakeWindow inner;
    inner.Type("n#{");
    inner.waitEvents.push_back(Event::KeyDown(Key::Shift));
    inner.waitEvents.push_back(Event::KeyDown(Key::Home));
    inner.waitEvents.push_back(Event::KeyUp(Key::Shift));
    inner.waitEvents.push_back(Event::KeyDown(Key::Home));
    inner.waitEvents.push_back(Event::KeyDown(Key::F3));
    inner.waitEvents.push_back(Event::KeyDown(Key::Execute));
    inner.waitEvents.push_back(Event::Text("ア漢b"));  // 漢 has no form in this code page
    inner.Type("\r\x03");
    inner.pollEvents.push_back(Event::Character('z'));

    std::ostringstream out;
    RecordingWindow recorder(inner, out, 77, TinyCodePage);
    Event e;
    while (recorder.WaitEvent(e, -1) && e.kind != Event::Kind::Close) {
    }
    while (recorder.PollEvent(e)) {
    }
    EXPECT_EQ(out.str(), "#seed 77\nn{x23}{{{x0C}{Home}{F3}{x0D}アb{Enter}\n{Ctrl-C}z");

    const auto replay = Parse(out.str(), true);
    EXPECT_EQ(replay.seed, 77u);
    EXPECT_EQ(Notations(replay), "n # {{ {x0C} {Home} {F3} {Enter} {x83} A b {Enter} {Ctrl-C} z ");
}

TEST(RecordingTest, EverythingElseGoesToTheInnerWindow) {
    testing::FakeWindow inner;
    std::ostringstream out;
    RecordingWindow recorder(inner, out, 0, TinyCodePage);
    recorder.Beep();
    recorder.SetTextInput(true, 3, 4);
    recorder.ShowMessage("t", "m");
    recorder.Present(FrameView{});
    EXPECT_EQ(inner.beeps, 1);
    EXPECT_TRUE(inner.textInput);
    EXPECT_EQ(inner.textInputRow, 4);
    EXPECT_EQ(inner.messages.size(), 1u);
    EXPECT_EQ(inner.presents, 1);
}

}  // namespace
}  // namespace kestran::platform
