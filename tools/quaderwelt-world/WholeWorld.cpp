#include "WholeWorld.h"

#include <stdexcept>

namespace qw::tool {

WorldVariant LoadWholeWorld(TGameState& state, const std::string& path) {
    WorldLoadReport report;
    try {
        report = LoadWorld(state, path);
    } catch (const std::runtime_error& e) {
        // The game's box shows the inflater's words alone; here they need the file.
        throw std::runtime_error(path + ": damaged world file: " + e.what());
    }
    switch (report.status) {
        case WorldLoadStatus::NotOpened:
            throw std::runtime_error(path + ": cannot open as a regular file");
        case WorldLoadStatus::Incomplete:
            throw std::runtime_error(path + ": damaged world file: " + report.problem);
        case WorldLoadStatus::Intact:
            break;
    }
    return report.variant;
}

}  // namespace qw::tool
