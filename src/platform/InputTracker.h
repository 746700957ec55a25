#pragma once
// Key and mouse-button state of the game window as levels, built from the
// window's key and button events (works on X11 and XWayland alike). Cleared
// when the window loses the focus, so no key sticks. A press that was
// released again before the game polled still counts as held until the
// frame is done, so a quick tap or click is never lost between two frames.
#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include <wx/weakref.h>
#include <wx/window.h>

#include "sim/VirtualKeys.h"


namespace qw {

class InputTracker {
public:
    InputTracker() = default;
    ~InputTracker();
    InputTracker(const InputTracker&) = delete;
    InputTracker& operator=(const InputTracker&) = delete;

    // Follows the key and focus events of every given window.
    void Attach(wxWindow* window);
    bool KeyHeld(VirtualKey key) const;
    void ClearAll();
    // Pressed since the last FrameDone, whether still held or not.
    bool PressedThisFrame(VirtualKey key) const;
    // The frame has polled everything: forget presses that were let go.
    void FrameDone();

    // Maps a key event to the game's key, or -1.
    static int MapKey(int wxKeyCode, uint32_t hardwareKeyCode);
    // Maps a wxWidgets key code to the game's key, or -1.
    static int MapKeyCode(int wxKeyCode);

private:
    void OnKeyDown(wxKeyEvent& event);
    void OnKeyUp(wxKeyEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnMouseButton(wxMouseEvent& event);
    void Press(int key);
    std::array<bool, kVirtualKeyCount> held_{};
    std::array<bool, kVirtualKeyCount> pressedThisFrame_{};
    std::map<uint32_t, int> pressedByRawKey_;  // physical key -> game key it pressed
    std::vector<wxWeakRef<wxWindow>> windows_;
};

}  // namespace qw
