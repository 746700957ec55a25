#pragma once
// A small interpreter of the game's sound command texts on SDL2_mixer:
//   open "<path>" alias <name>     play <name> from 0     status <name> mode
// Without an audio device every command is accepted and nothing sounds.
#include <map>
#include <memory>
#include <string>

namespace qw {

class SoundService {
public:
    // A sound longer than streamLongerThanSeconds (the first such one; the
    // mixer streams one at a time) plays from its file instead of memory.
    explicit SoundService(double streamLongerThanSeconds = 20.0);
    ~SoundService();
    SoundService(const SoundService&) = delete;
    SoundService& operator=(const SoundService&) = delete;

    // Runs one command. For "status", *reply gets a text that stays the same
    // while the alias plays and changes when it has stopped.
    void Command(const std::string& command, std::string* reply = nullptr);

    bool HasAudio() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qw
