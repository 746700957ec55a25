#include "shell/DataFolder.h"

#include "platform/Folders.h"

namespace qw {

std::string LocateDataFolder(TGameState& state, bool create) {
    state.wasfound = false;
    return DataFolderPath(ExecutableDir(), create, state.wasfound);
}

}  // namespace qw
