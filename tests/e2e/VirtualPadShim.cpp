// Loaded into the game with LD_PRELOAD by the gamepad test: when the game
// starts SDL's joystick subsystem, an Xbox 360 pad (SDL's virtual joystick,
// which only exists inside the process) is plugged in, and every line
// written to the FIFO named by QW_PAD_FIFO works it as a player's hands
// would, in the pad's raw Linux order:
//   axis N VALUE     button N 0|1     unplug     plug
#include <dlfcn.h>

#include <SDL.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "support/VirtualPads.h"

namespace {

qw::test::VirtualPad* pad = nullptr;

void Obey(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    int which = 0, value = 0;
    words >> command >> which >> value;
    if (command == "axis") pad->Axis(which, static_cast<int16_t>(value));
    else if (command == "button") pad->Button(which, value != 0);
    else if (command == "unplug") pad->Unplug();
    else if (command == "plug") pad->PlugIn();
}

// SDL's joystick calls lock its device list, so the pad may be worked from
// a thread of its own while the game polls it.
void Serve(const std::string& fifo) {
    for (;;) {
        std::ifstream in(fifo);  // waits for a writer; reopened after each
        if (!in) return;
        for (std::string line; std::getline(in, line);) Obey(line);
    }
}

}  // namespace

extern "C" int SDL_InitSubSystem(Uint32 flags) {
    using Init = int (*)(Uint32);
    static const auto real = reinterpret_cast<Init>(dlsym(RTLD_NEXT, "SDL_InitSubSystem"));
    const int result = real(flags);
    if (result == 0 && (flags & (SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER)) != 0 && pad == nullptr) {
        pad = new qw::test::VirtualPad(qw::test::VirtualPad::Xbox360());
        if (const char* fifo = std::getenv("QW_PAD_FIFO")) std::thread(Serve, std::string(fifo)).detach();
    }
    return result;
}
