#pragma once
// Scripted stand-in for the platform: tests set keys, cursor, ticks and
// joystick answers, and read back the sound commands and cursor changes.
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "sim/Services.h"
#include "world/Random.h"

namespace qw::test {

class FakeServices : public GameServices {
public:
    // Inputs the test scripts.
    std::set<int> keysHeld;
    TPoint cursor{};
    bool focus = true;
    TWindowGeometry geometry{0, 0, 1024, 768, 1024, 768};
    int64_t ticks = 0;
    bool joystickPresent = false;
    TJoyCaps joyCaps{};
    TJoyInfo joyInfo{};
    bool joystickPollFails = false;
    std::string statusReply = "playing";
    std::deque<int> scriptedRandom;  // consumed first; then the seeded generator
    GameRandom rng{12345};

    // What the code under test did.
    std::vector<std::string> soundCommands;
    std::vector<TPoint> cursorMoves;
    std::vector<int> randomRanges;  // n of every Random(n), in order
    bool cursorVisible = true;

    void SoundCommand(const std::string& command, std::string* reply) override {
        soundCommands.push_back(command);
        if (reply) *reply = statusReply;
    }
    bool KeyHeld(VirtualKey key) override { return keysHeld.count(key) != 0; }
    TPoint CursorPos() override { return cursor; }
    void SetCursorPos(int x, int y) override {
        cursor = {x, y};
        cursorMoves.push_back(cursor);
    }
    void ShowCursor(bool show) override { cursorVisible = show; }
    bool WindowHasFocus() override { return focus; }
    TWindowGeometry WindowGeometry() override { return geometry; }
    int64_t TickCount() override { return ticks; }
    bool JoystickCaps(int, TJoyCaps& caps) override {
        if (!joystickPresent) return false;
        caps = joyCaps;
        return true;
    }
    bool JoystickPoll(int, TJoyInfo& info) override {
        if (!joystickPresent || joystickPollFails) return false;
        info = joyInfo;
        return true;
    }
    int Random(int n) override {
        randomRanges.push_back(n);
        if (!scriptedRandom.empty()) {
            int v = scriptedRandom.front();
            scriptedRandom.pop_front();
            return v;
        }
        return rng.Random(n);
    }
};

}  // namespace qw::test
