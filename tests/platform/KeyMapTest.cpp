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

// X11 key codes of the keys the layouts below put their characters on.
constexpr uint32_t kTopRow1 = 10, kTopRow9 = 18, kTopRow0 = 19;
constexpr uint32_t kKeyQ = 24, kKeyW = 25, kKeyA = 38, kKeyZ = 52, kPad1 = 87, kPad7 = 79;

int MapPhysical(int code, uint32_t hardware) { return InputTracker::MapKey(code, hardware); }

// The digit keys are the top row by position: what the layout prints on them,
// with or without Shift, does not matter.
TEST(MapKey, TopRowIsTheDigitKeysOnEveryLayout) {
    const int us[9] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    const int germanShifted[9] = {'!', '"', 0xA7, '$', '%', '&', '/', '(', ')'};
    const int french[9] = {'&', 0xE9, '"', '\'', '(', '-', 0xE8, '_', 0xE7};
    for (uint32_t i = 0; i < 9; ++i) {
        const int digit = '1' + static_cast<int>(i);
        EXPECT_EQ(MapPhysical(us[i], kTopRow1 + i), digit) << i;
        EXPECT_EQ(MapPhysical(germanShifted[i], kTopRow1 + i), digit) << i;
        EXPECT_EQ(MapPhysical(french[i], kTopRow1 + i), digit) << i;
        EXPECT_EQ(MapPhysical(WXK_NONE, kTopRow1 + i), digit) << i;  // a dead key or one wx cannot name
    }
    EXPECT_EQ(MapPhysical('0', kTopRow0), -1);
    EXPECT_EQ(MapPhysical(0xE0, kTopRow0), -1);  // French à
    EXPECT_EQ(MapPhysical('9', kTopRow9), '9');
}

TEST(MapKey, NumericPadAndOtherKeysAreNoDigitKeys) {
    EXPECT_EQ(MapPhysical(WXK_NUMPAD1, kPad1), VK_NUMPAD1);
    EXPECT_EQ(MapPhysical(WXK_NUMPAD_END, kPad1), VK_NUMPAD1);
    EXPECT_EQ(MapPhysical(WXK_NUMPAD7, kPad7), VK_NUMPAD7);
    // A digit printed on a key outside the top row does not choose a material.
    EXPECT_EQ(MapPhysical('1', kPad1), -1);
    EXPECT_EQ(MapPhysical('5', kKeyQ), -1);
}

TEST(MapKey, LettersGoByTheirLabel) {
    EXPECT_EQ(MapPhysical('W', kKeyW), 'W');  // QWERTY
    EXPECT_EQ(MapPhysical('W', kKeyZ), 'W');  // AZERTY has W where QWERTY has Z
    EXPECT_EQ(MapPhysical('Z', kKeyW), -1);
    EXPECT_EQ(MapPhysical('q', kKeyA), -1);   // AZERTY's Q sits where QWERTY's A is
    EXPECT_EQ(MapPhysical('a', kKeyQ), 'A');
    EXPECT_EQ(MapPhysical(WXK_ESCAPE, 9), VK_ESCAPE);
}

// Events made up without a hardware key code keep the key's label.
TEST(MapKey, WithoutAHardwareCodeTheLabelCounts) {
    EXPECT_EQ(MapPhysical('3', 0), '3');
    EXPECT_EQ(MapPhysical('&', 0), -1);
    EXPECT_EQ(MapPhysical('D', 0), 'D');
}

}  // namespace
}  // namespace qw
