#include "platform/SoundService.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/SoundCommandParser.h"

namespace qw {

namespace {
// The texts of "status <alias> mode". The game only compares them with each
// other, so any two distinct words do.
constexpr const char* kPlaying = "playing";
constexpr const char* kStopped = "stopped";
}  // namespace

struct SoundService::Impl {
    // A short sound is decoded into memory once; the long one (the music)
    // streams from its file, since decoded it would take megabytes per minute.
    struct Alias {
        Mix_Chunk* chunk = nullptr;
        int channel = -1;  // every decoded alias owns a channel, so aliases sound together
        Mix_Music* music = nullptr;
    };

    bool sdlStarted = false;
    bool audioOpen = false;
    bool mixerStarted = false;
    double streamLongerThan;
    bool musicTaken = false;  // the mixer streams one sound at a time
    std::map<std::string, Alias> aliases;

    explicit Impl(double streamLongerThanSeconds) : streamLongerThan(streamLongerThanSeconds) {
        // SDL would otherwise take over SIGINT/SIGTERM and the game could no
        // longer be stopped from a terminal.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;  // no audio at all: stay silent
        sdlStarted = true;
        Mix_Init(MIX_INIT_MP3);
        mixerStarted = true;
        audioOpen = Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 1024) == 0;
    }

    ~Impl() {
        if (audioOpen) {
            Mix_HaltChannel(-1);
            Mix_HaltMusic();
            for (auto& [name, alias] : aliases) {
                if (alias.chunk) Mix_FreeChunk(alias.chunk);
                if (alias.music) Mix_FreeMusic(alias.music);
            }
            Mix_CloseAudio();
        }
        if (mixerStarted) Mix_Quit();
        if (sdlStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    void Open(const std::string& name, const std::string& path) {
        // Without a device the mixer cannot decode; a second open of a taken
        // alias is refused. Either way the alias stays as it was.
        if (!audioOpen || aliases.count(name) != 0) return;
        if (!musicTaken) {
            if (Mix_Music* music = Mix_LoadMUS(path.c_str())) {
                if (Mix_MusicDuration(music) > streamLongerThan) {
                    aliases.emplace(name, Alias{nullptr, -1, music});
                    musicTaken = true;
                    return;
                }
                Mix_FreeMusic(music);
            }
        }
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        if (chunk == nullptr) return;
        const int channel = static_cast<int>(aliases.size());
        if (Mix_AllocateChannels(channel + 1) < channel + 1) {
            Mix_FreeChunk(chunk);
            return;
        }
        aliases.emplace(name, Alias{chunk, channel, nullptr});
    }

    void Play(const std::string& name) {
        auto it = aliases.find(name);
        if (it == aliases.end()) return;
        // Playing on the alias's own busy channel, or the music again, cuts the
        // old sound off, so "from 0" really starts over.
        if (it->second.music) {
            Mix_PlayMusic(it->second.music, 0);
            return;
        }
        Mix_PlayChannel(it->second.channel, it->second.chunk, 0);
    }

    void Status(const std::string& name, std::string* reply) {
        auto it = aliases.find(name);
        if (it == aliases.end() || reply == nullptr) return;
        const bool playing =
            it->second.music ? Mix_PlayingMusic() != 0 : Mix_Playing(it->second.channel) != 0;
        *reply = playing ? kPlaying : kStopped;
    }
};

SoundService::SoundService(double streamLongerThanSeconds)
    : impl_(std::make_unique<Impl>(streamLongerThanSeconds)) {}

SoundService::~SoundService() = default;

void SoundService::Command(const std::string& command, std::string* reply) {
    auto parsed = ParseSoundCommand(command);
    if (!parsed) return;
    switch (parsed->verb) {
        case SoundCommandText::Verb::Open: impl_->Open(parsed->alias, parsed->path); break;
        case SoundCommandText::Verb::Play: impl_->Play(parsed->alias); break;
        case SoundCommandText::Verb::Status: impl_->Status(parsed->alias, reply); break;
    }
}

bool SoundService::HasAudio() const {
    return impl_->audioOpen;
}

}  // namespace qw
