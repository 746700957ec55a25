// Writes the four WAV sounds into a folder, and the explosion and the music
// as WAV into a work folder for the MP3 encoder.
#include <cstdio>
#include <exception>
#include <string>

#include "Music.h"
#include "SoundEffects.h"

int main(int argc, char** argv) {
    using namespace qw::tools;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER WORK_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string out = std::string(argv[1]) + "/", work = std::string(argv[2]) + "/";
    try {
        WriteWav(out + "troffen.wav", MakeFigureHit());
        WriteWav(out + "btroffen.wav", MakeBlockHit());
        WriteWav(out + "launch.wav", MakeLaunch());
        WriteWav(out + "bing.wav", MakeWinJingle());
        WriteWav(work + "bomb.wav", MakeExplosion());
        WriteWav(work + "sound.wav", MakeMusic());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
