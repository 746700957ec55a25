#pragma once
// The host's services for a frame of a network game: the real ones, with
// every event sound also passed on to the guest, so both computers play it.
#include "net/HostSession.h"
#include "sim/Services.h"

namespace qw::net {

class THostServices final : public GameServices {
public:
    THostServices(GameServices& inner, THostSession& session) : inner_(inner), session_(session) {}

    void SoundCommand(const std::string& command, std::string* reply = nullptr) override;
    bool KeyHeld(VirtualKey key) override { return inner_.KeyHeld(key); }
    TPoint CursorPos() override { return inner_.CursorPos(); }
    void SetCursorPos(int x, int y) override { inner_.SetCursorPos(x, y); }
    void ShowCursor(bool show) override { inner_.ShowCursor(show); }
    bool WindowHasFocus() override { return inner_.WindowHasFocus(); }
    TWindowGeometry WindowGeometry() override { return inner_.WindowGeometry(); }
    int64_t TickCount() override { return inner_.TickCount(); }
    bool JoystickCaps(int id, TJoyCaps& caps) override { return inner_.JoystickCaps(id, caps); }
    bool JoystickPoll(int id, TJoyInfo& info) override { return inner_.JoystickPoll(id, info); }
    int Random(int n) override { return inner_.Random(n); }

private:
    GameServices& inner_;
    THostSession& session_;
};

// The alias of "play <alias> from 0", or empty for any other command.
std::string PlayedAlias(const std::string& command);

}  // namespace qw::net
