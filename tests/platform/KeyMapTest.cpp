#include "platform/InputTracker.h"

#include <gtest/gtest.h>

#include <wx/defs.h>

namespace qw {
namespace {

int Map(int code) {
    return InputTracker::MapKeyCode(code);
}

TEST(MapKeyCode, GameKeys) {
    EXPECT_EQ(Map(WXK_UP), VK_UP);
    EXPECT_EQ(Map(WXK_DOWN), VK_DOWN);
    EXPECT_EQ(Map(WXK_LEFT), VK_LEFT);
    EXPECT_EQ(Map(WXK_RIGHT), VK_RIGHT);
    EXPECT_EQ(Map(WXK_RETURN), VK_RETURN);
    EXPECT_EQ(Map(WXK_NUMPAD_ENTER), VK_RETURN);
    EXPECT_EQ(Map(WXK_CONTROL), VK_CONTROL);
    EXPECT_EQ(Map(WXK_SPACE), VK_SPACE);
    EXPECT_EQ(Map(WXK_ESCAPE), VK_ESCAPE);
    EXPECT_EQ(Map(WXK_F2), VK_F2);
    EXPECT_EQ(Map(WXK_F5), VK_F5);
}

TEST(MapKeyCode, NumericPadWithAndWithoutNumLock) {
    const int withNumLock[10] = {WXK_NUMPAD0, WXK_NUMPAD1, WXK_NUMPAD2, WXK_NUMPAD3, WXK_NUMPAD4,
                                 WXK_NUMPAD5, WXK_NUMPAD6, WXK_NUMPAD7, WXK_NUMPAD8, WXK_NUMPAD9};
    const int withoutNumLock[10] = {WXK_NUMPAD_INSERT, WXK_NUMPAD_END,   WXK_NUMPAD_DOWN, WXK_NUMPAD_PAGEDOWN,
                                    WXK_NUMPAD_LEFT,   WXK_NUMPAD_BEGIN, WXK_NUMPAD_RIGHT, WXK_NUMPAD_HOME,
                                    WXK_NUMPAD_UP,     WXK_NUMPAD_PAGEUP};
    for (int digit = 0; digit < 10; ++digit) {
        EXPECT_EQ(Map(withNumLock[digit]), VK_NUMPAD0 + digit) << digit;
        EXPECT_EQ(Map(withoutNumLock[digit]), VK_NUMPAD0 + digit) << digit;
    }
    EXPECT_EQ(Map(WXK_CLEAR), VK_NUMPAD5);
}

TEST(MapKeyCode, LettersAndMainKeyboardDigits) {
    for (char c : {'W', 'A', 'S', 'D'}) {
        EXPECT_EQ(Map(c), c);
        EXPECT_EQ(Map(c - 'A' + 'a'), c);
    }
    for (int c = '1'; c <= '9'; ++c) EXPECT_EQ(Map(c), c);
}

TEST(MapKeyCode, EverythingElseIsNoGameKey) {
    for (int code : std::initializer_list<int>{'0', 'Q', 'E', 'x', '!', WXK_SHIFT, WXK_ALT, WXK_TAB,
                     WXK_F1, WXK_F3, WXK_F12, WXK_NUMPAD_DELETE, WXK_NUMPAD_DECIMAL, WXK_HOME, WXK_PAGEUP,
                     WXK_INSERT, WXK_NONE, -5, 300000}) {
        EXPECT_EQ(Map(code), -1) << code;
    }
}

}  // namespace
}  // namespace qw
