#include "world/WorldSavePolicy.h"

#include <exception>

#include "world/PosixFile.h"
#include "world/RoundSetup.h"
#include "world/WorldFile.h"

namespace qw {

namespace {

std::string FileNameOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file for the world when its own file must not be replaced: the
// new-world rule on the same name, so "Welt.lev" gives "Welt2.lev" and on.
std::string DivertedPath(const std::string& path) {
    std::string name = FileNameOf(path);
    const std::string extension = ".lev";
    if (name.size() >= extension.size() && name.compare(name.size() - extension.size(), extension.size(), extension) == 0)
        name.resize(name.size() - extension.size());
    return NewWorldLevelName(FolderOf(path), name);
}

std::string DivertNotice(const TWorldOrigin& origin, const std::string& target) {
    const std::string from = FileNameOf(origin.path);
    const std::string to = FileNameOf(target);
    if (origin.readDamaged)
        return "Die Welt " + from + " konnte nicht vollständig geladen werden. Damit die Datei nicht "
               "überschrieben wird, wurde die Welt als " + to + " gespeichert.";
    return "Die Datei " + from + " wurde außerhalb des Spiels verändert. Damit sie nicht überschrieben "
           "wird, wurde die Welt als " + to + " gespeichert.";
}

}  // namespace

void AdoptNewWorldName(TGameState& state) { state.levelorigin = TWorldOrigin{state.levelname, std::nullopt, false}; }

CreativeSaveResult SaveCreativeWorld(TGameState& state, WriteCall write) {
    CreativeSaveResult result;
    TWorldOrigin& origin = state.levelorigin;
    if (!state.modusformKreativCheckchecked || origin.path.empty()) return result;

    std::string target = origin.path;
    const auto there = IdentityAt(target);
    const bool ours = !there || (origin.file && *origin.file == *there);
    if (!ours) target = DivertedPath(origin.path);

    FileIdentity written;
    try {
        written = SaveWorld(state, target, std::move(write));
    } catch (const std::exception& e) {
        result.ok = false;
        result.error = std::string("Die Welt konnte nicht gespeichert werden: ") + e.what();
        return result;
    }
    if (!ours) {
        result.notice = DivertNotice(origin, target);
        result.divertedTo = target;
    }
    origin = TWorldOrigin{target, written, false};
    state.levelname = target;
    return result;
}

}  // namespace qw
