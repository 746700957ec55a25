#include "net/HostServices.h"

namespace qw::net {

std::string PlayedAlias(const std::string& command) {
    const std::string play = "play ", from = " from 0";
    if (command.size() <= play.size() + from.size() || command.compare(0, play.size(), play) != 0 ||
        command.compare(command.size() - from.size(), from.size(), from) != 0)
        return {};
    return command.substr(play.size(), command.size() - play.size() - from.size());
}

void THostServices::SoundCommand(const std::string& command, std::string* reply) {
    inner_.SoundCommand(command, reply);
    // The session passes on only the event sounds; the music is each computer's own.
    const std::string alias = PlayedAlias(command);
    if (!alias.empty()) session_.QueueSound(alias);
}

}  // namespace qw::net
