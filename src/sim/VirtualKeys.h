#pragma once
// The keys the game polls, with the classic virtual-key numbers so that the
// letters and digits are their own character codes ('W', '1').
namespace qw {

enum VirtualKey : int {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_RETURN = 0x0D,
    VK_CONTROL = 0x11,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_NUMPAD0 = 0x60,
    VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4, VK_NUMPAD5,
    VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9,
    VK_F2 = 0x71,
    VK_F5 = 0x74,
};

inline constexpr int kVirtualKeyCount = 256;

}  // namespace qw
