#include "platform/InputTracker.h"

#include <wx/event.h>
#include <wx/window.h>

namespace qw {
namespace {
const wxEventTypeTag<wxMouseEvent> kMouseButtonEvents[] = {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK,
                                          wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP, wxEVT_RIGHT_DCLICK};
constexpr uint32_t kTopRowKey1 = 10;  // X11 key code of the top row's first digit key
}  // namespace

InputTracker::~InputTracker() {
    // The tracker may die before its windows; their bindings must not
    // outlive it.
    for (wxWeakRef<wxWindow>& window : windows_) {
        if (!window) continue;
        window->Unbind(wxEVT_KEY_DOWN, &InputTracker::OnKeyDown, this);
        window->Unbind(wxEVT_KEY_UP, &InputTracker::OnKeyUp, this);
        window->Unbind(wxEVT_KILL_FOCUS, &InputTracker::OnKillFocus, this);
        for (const auto type : kMouseButtonEvents) window->Unbind(type, &InputTracker::OnMouseButton, this);
    }
}

void InputTracker::Attach(wxWindow* window) {
    if (window == nullptr) return;
    window->Bind(wxEVT_KEY_DOWN, &InputTracker::OnKeyDown, this);
    window->Bind(wxEVT_KEY_UP, &InputTracker::OnKeyUp, this);
    window->Bind(wxEVT_KILL_FOCUS, &InputTracker::OnKillFocus, this);
    for (const auto type : kMouseButtonEvents) window->Bind(type, &InputTracker::OnMouseButton, this);
    windows_.emplace_back(window);
}

bool InputTracker::KeyHeld(VirtualKey key) const {
    const int index = static_cast<int>(key);
    if (index < 0 || index >= kVirtualKeyCount) return false;
    return held_[static_cast<size_t>(index)] || pressedThisFrame_[static_cast<size_t>(index)];
}

void InputTracker::ClearAll() {
    held_.fill(false);
    pressedThisFrame_.fill(false);
    pressedByRawKey_.clear();
}

bool InputTracker::PressedThisFrame(VirtualKey key) const {
    const int index = static_cast<int>(key);
    return index >= 0 && index < kVirtualKeyCount && pressedThisFrame_[static_cast<size_t>(index)];
}

void InputTracker::FrameDone() { pressedThisFrame_.fill(false); }

void InputTracker::Press(int key) {
    held_[static_cast<size_t>(key)] = true;
    pressedThisFrame_[static_cast<size_t>(key)] = true;
}

void InputTracker::OnMouseButton(wxMouseEvent& event) {
    event.Skip();
    const int key = event.GetButton() == wxMOUSE_BTN_LEFT ? VK_LBUTTON : VK_RBUTTON;
    if (event.ButtonDown() || event.ButtonDClick()) Press(key);
    else held_[static_cast<size_t>(key)] = false;
}

int InputTracker::MapKeyCode(int wxKeyCode) {
    switch (wxKeyCode) {
        case WXK_UP: return VK_UP;
        case WXK_DOWN: return VK_DOWN;
        case WXK_LEFT: return VK_LEFT;
        case WXK_RIGHT: return VK_RIGHT;
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER: return VK_RETURN;
        case WXK_CONTROL: return VK_CONTROL;  // left and right Ctrl alike
        case WXK_SPACE: return VK_SPACE;
        case WXK_ESCAPE: return VK_ESCAPE;
        case WXK_F2: return VK_F2;
        case WXK_F5: return VK_F5;
        // The numeric pad counts as digits whether Num Lock is on or off.
        case WXK_NUMPAD0:
        case WXK_NUMPAD_INSERT: return VK_NUMPAD0;
        case WXK_NUMPAD1:
        case WXK_NUMPAD_END: return VK_NUMPAD1;
        case WXK_NUMPAD2:
        case WXK_NUMPAD_DOWN: return VK_NUMPAD2;
        case WXK_NUMPAD3:
        case WXK_NUMPAD_PAGEDOWN: return VK_NUMPAD3;
        case WXK_NUMPAD4:
        case WXK_NUMPAD_LEFT: return VK_NUMPAD4;
        case WXK_NUMPAD5:
        case WXK_NUMPAD_BEGIN:
        case WXK_CLEAR: return VK_NUMPAD5;  // the centre key without Num Lock on some layouts
        case WXK_NUMPAD6:
        case WXK_NUMPAD_RIGHT: return VK_NUMPAD6;
        case WXK_NUMPAD7:
        case WXK_NUMPAD_HOME: return VK_NUMPAD7;
        case WXK_NUMPAD8:
        case WXK_NUMPAD_UP: return VK_NUMPAD8;
        case WXK_NUMPAD9:
        case WXK_NUMPAD_PAGEUP: return VK_NUMPAD9;
        case 'W': case 'w': return 'W';
        case 'A': case 'a': return 'A';
        case 'S': case 's': return 'S';
        case 'D': case 'd': return 'D';
        default: break;
    }
    if (wxKeyCode >= '1' && wxKeyCode <= '9') return wxKeyCode;
    return -1;
}

int InputTracker::MapKey(int wxKeyCode, uint32_t hardwareKeyCode) {
    // Events made up without a hardware key code only have their label.
    if (hardwareKeyCode == 0) return MapKeyCode(wxKeyCode);
    // The digit keys are the top row by position, whatever the layout prints
    // on them (AZERTY: & é " ' ( - è _ ç without Shift). X11 numbers these
    // keys 10 to 18 with the evdev and the older PC key codes alike.
    if (hardwareKeyCode >= kTopRowKey1 && hardwareKeyCode < kTopRowKey1 + 9) {
        return '1' + static_cast<int>(hardwareKeyCode - kTopRowKey1);
    }
    // A digit that a layout puts on some other key is not one of them;
    // letters and everything else go by their label.
    const int key = MapKeyCode(wxKeyCode);
    return key >= '1' && key <= '9' ? -1 : key;
}

void InputTracker::OnKeyDown(wxKeyEvent& event) {
    event.Skip();
    const int key = MapKey(event.GetKeyCode(), event.GetRawKeyFlags());
    if (key < 0) return;
    Press(key);
    if (event.GetRawKeyFlags() != 0) pressedByRawKey_[event.GetRawKeyFlags()] = key;
}

void InputTracker::OnKeyUp(wxKeyEvent& event) {
    event.Skip();
    // The release may come with another key code than the press (a modifier
    // or Num Lock changed in between); the physical key tells which game
    // key it let go. On GTK the raw flags are the hardware key code; events
    // made up without one carry 0.
    auto pressed = event.GetRawKeyFlags() != 0 ? pressedByRawKey_.find(event.GetRawKeyFlags()) : pressedByRawKey_.end();
    if (pressed != pressedByRawKey_.end()) {
        held_[static_cast<size_t>(pressed->second)] = false;
        pressedByRawKey_.erase(pressed);
    }
    const int key = MapKey(event.GetKeyCode(), event.GetRawKeyFlags());
    if (key >= 0) held_[static_cast<size_t>(key)] = false;
}

void InputTracker::OnKillFocus(wxFocusEvent& event) {
    event.Skip();
    ClearAll();
}

}  // namespace qw
