#include "WholeWorld.h"

#include <stdexcept>

namespace qw::tool {

WorldVariant LoadWholeWorld(TGameState& state, const std::string& path) {
    const WorldLoadReport report = LoadWorld(state, path);
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
