// One-line editing with a caret, as edit fields and path prompts use it.
#include "backends/terminal/LineEdit.h"

#include <gtest/gtest.h>

namespace {

using backends::terminal::Key;
using backends::terminal::KeyCode;
using backends::terminal::LineEdit;

Key K(KeyCode code)
{
    Key k;
    k.code = code;
    return k;
}

Key Ch(char32_t ch, bool ctrl = false)
{
    Key k;
    k.ch = ch;
    k.ctrl = ctrl;
    return k;
}

void Type(LineEdit& e, const std::u32string& text)
{
    for (char32_t c : text)
        EXPECT_TRUE(e.HandleKey(Ch(c)));
}

TEST(TerminalLineEdit, InsertsAndDeletesAtTheCaret)
{
    LineEdit e;
    Type(e, U"abd");
    e.HandleKey(K(KeyCode::Left));
    Type(e, U"c");
    EXPECT_EQ(e.text, "abcd");
    EXPECT_EQ(e.caret, 3u);
    e.HandleKey(K(KeyCode::Backspace));
    EXPECT_EQ(e.text, "abd");
    e.HandleKey(K(KeyCode::Delete));
    EXPECT_EQ(e.text, "ab");
    e.HandleKey(K(KeyCode::Delete)); // at the end: nothing
    EXPECT_EQ(e.text, "ab");
    e.HandleKey(K(KeyCode::Home));
    e.HandleKey(K(KeyCode::Backspace)); // at the start: nothing
    e.HandleKey(K(KeyCode::Left));
    EXPECT_EQ(e.text, "ab");
    EXPECT_EQ(e.caret, 0u);
    e.HandleKey(K(KeyCode::End));
    e.HandleKey(K(KeyCode::Right));
    EXPECT_EQ(e.caret, 2u);
}

TEST(TerminalLineEdit, StoresTypedTextInWindows1252)
{
    LineEdit e;
    Type(e, U"\u20AC\u00FC\u2603!"); // euro, u-umlaut, snowman (no cp1252 form)
    EXPECT_EQ(e.text, "\x80\xFC!");
    EXPECT_EQ(e.caret, 3u);
}

TEST(TerminalLineEdit, LeavesOtherKeysToTheCaller)
{
    LineEdit e;
    e.text = "x";
    for (KeyCode code : {KeyCode::Up, KeyCode::Down, KeyCode::Tab, KeyCode::Enter, KeyCode::Escape, KeyCode::PageUp})
        EXPECT_FALSE(e.HandleKey(K(code)));
    EXPECT_FALSE(e.HandleKey(Ch(U'q', true)));
    Key alt = Ch(U'b');
    alt.alt = true;
    EXPECT_FALSE(e.HandleKey(alt));
    EXPECT_EQ(e.text, "x");
}

TEST(TerminalLineEdit, ASelectedTextIsReplacedByTyping)
{
    LineEdit e;
    e.text = "System default language";
    e.SelectAll();
    EXPECT_TRUE(e.selected);
    Type(e, U"De");
    EXPECT_EQ(e.text, "De");
    EXPECT_FALSE(e.selected);

    e.SelectAll();
    e.HandleKey(K(KeyCode::Backspace));
    EXPECT_EQ(e.text, "");

    e.text = "1234";
    e.SelectAll();
    e.HandleKey(K(KeyCode::Left)); // moving keeps the text
    Type(e, U"x");
    EXPECT_EQ(e.text, "123x4");

    e.text = "";
    e.SelectAll();
    EXPECT_FALSE(e.selected) << "nothing to select";
}

TEST(TerminalLineEdit, ControlKeysCutAndJump)
{
    LineEdit e;
    e.text = "/usr/local/bin";
    e.caret = 5;
    EXPECT_TRUE(e.HandleKey(Ch(U'k', true)));
    EXPECT_EQ(e.text, "/usr/");
    e.text = "/usr/local/bin";
    e.caret = 5;
    EXPECT_TRUE(e.HandleKey(Ch(U'u', true)));
    EXPECT_EQ(e.text, "local/bin");
    EXPECT_EQ(e.caret, 0u);
    EXPECT_TRUE(e.HandleKey(Ch(U'e', true)));
    EXPECT_EQ(e.caret, e.text.size());
    EXPECT_TRUE(e.HandleKey(Ch(U'a', true)));
    EXPECT_EQ(e.caret, 0u);
}

TEST(TerminalLineEdit, ScrollsToKeepTheCaretInANarrowField)
{
    LineEdit e;
    e.text = "abcdefghijklmnopqrst"; // 20 characters
    e.caret = 20;
    e.ScrollToCaret(5);
    EXPECT_EQ(e.scroll, 16u) << "four characters and the caret's own cell";
    e.caret = 0;
    e.ScrollToCaret(5);
    EXPECT_EQ(e.scroll, 0u);
    e.caret = 10;
    e.ScrollToCaret(5);
    EXPECT_EQ(e.scroll, 6u);
    e.caret = 8;
    e.ScrollToCaret(5);
    EXPECT_EQ(e.scroll, 6u) << "no scrolling while the caret stays in view";

    // The text got shorter: no blank tail while text is hidden on the left.
    e.text = "abcdefgh";
    e.caret = 8;
    e.scroll = 7;
    e.ScrollToCaret(5);
    EXPECT_EQ(e.scroll, 4u);
    e.text = "abc";
    e.Clamp();
    e.ScrollToCaret(5);
    EXPECT_EQ(e.caret, 3u);
    EXPECT_EQ(e.scroll, 0u);
}

} // namespace
