#pragma once
// The real services of the game window: sound, keys, cursor, focus, window
// geometry, ticks, joystick and Random.
#include <chrono>

#include "platform/InputTracker.h"
#include "platform/JoystickDevice.h"
#include "platform/SoundService.h"
#include "sim/Services.h"

class wxWindow;

namespace qw {

class PlatformServices : public GameServices {
public:
    // window: the top-level game window; canvas: the GL canvas inside it,
    // which gets the key events and whose cursor is shown or hidden.
    PlatformServices(wxWindow* window, wxWindow* canvas);

    void SoundCommand(const std::string& command, std::string* reply = nullptr) override;
    bool KeyHeld(VirtualKey key) override;
    TPoint CursorPos() override;
    void SetCursorPos(int x, int y) override;
    void ShowCursor(bool show) override;
    bool WindowHasFocus() override;
    TWindowGeometry WindowGeometry() override;
    int64_t TickCount() override;
    bool JoystickCaps(int id, TJoyCaps& caps) override;
    bool JoystickPoll(int id, TJoyInfo& info) override;
    int Random(int n) override;

    void SeedRandomFromClock();
    // The generator itself, for the world generator's direct (non-virtual) draws.
    GameRandom& random() { return random_; }
    bool CursorShown() const { return cursorShown_; }
    InputTracker& input() { return input_; }
    SoundService& sound() { return sound_; }

private:
    wxWindow* window_;
    wxWindow* canvas_;
    InputTracker input_;
    SoundService sound_;
    JoystickDevice joystick_;
    GameRandom random_{0};
    bool cursorShown_ = true;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace qw
