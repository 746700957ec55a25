#include "net/Replica.h"

#include <cstring>

namespace qw::net {

namespace {

TFigureSnapshot FirstOf(const TGameState& s) {
    TFigureSnapshot f;
    f.posx = s.posx, f.posy = s.posy, f.posz = s.posz, f.angle = s.angle, f.angle2 = s.angle2;
    f.swing = s.sparmlinksrot;
    f.jump = s.jump;
    f.walking = s.splaufe;
    f.lives = s.leben;
    f.material = s.material;
    f.missile = s.missle;
    if (f.missile) f.missilex = s.misslex, f.missiley = s.missley, f.missilez = s.misslez;
    f.showdist = s.showdist;
    if (f.showdist) f.lastdist = s.lastdist;
    return f;
}

TFigureSnapshot SecondOf(const TGameState& s) {
    TFigureSnapshot f;
    f.posx = s.gposx, f.posy = s.gposy, f.posz = s.gposz, f.angle = s.gangle, f.angle2 = s.gangle2;
    f.swing = s.garmlinksrot;
    f.jump = s.gjump;
    f.walking = s.gelaufe;
    f.lives = s.gleben;
    f.material = s.gmaterial;
    f.missile = s.gmissle;
    if (f.missile) f.missilex = s.gmisslex, f.missiley = s.gmissley, f.missilez = s.gmisslez;
    f.showdist = s.gshowdist;
    if (f.showdist) f.lastdist = s.glastdist;
    return f;
}

void PutFirst(TGameState& s, const TFigureSnapshot& f, bool ownLook) {
    s.posx = f.posx, s.posy = f.posy, s.posz = f.posz;
    if (!ownLook) s.angle = f.angle, s.angle2 = f.angle2;
    s.sparmlinksrot = f.swing;
    s.jump = f.jump;
    s.splaufe = f.walking;
    s.leben = f.lives;
    s.material = f.material;
    s.missle = f.missile;
    if (f.missile) s.misslex = f.missilex, s.missley = f.missiley, s.misslez = f.missilez;
    s.showdist = f.showdist;
    if (f.showdist) s.lastdist = f.lastdist;
}

void PutSecond(TGameState& s, const TFigureSnapshot& f) {
    s.gposx = f.posx, s.gposy = f.posy, s.gposz = f.posz, s.gangle = f.angle, s.gangle2 = f.angle2;
    s.garmlinksrot = f.swing;
    s.gjump = f.jump;
    s.gelaufe = f.walking;
    s.gleben = f.lives;
    s.gmaterial = f.material;
    s.gmissle = f.missile;
    if (f.missile) s.gmisslex = f.missilex, s.gmissley = f.missiley, s.gmisslez = f.missilez;
    s.gshowdist = f.showdist;
    if (f.showdist) s.glastdist = f.lastdist;
}

}  // namespace

TSnapshot TakeSnapshot(const TGameState& host) {
    TSnapshot snapshot;
    snapshot.first = FirstOf(host);
    snapshot.second = SecondOf(host);
    snapshot.quitmode = host.quitmode;
    snapshot.emeraldfound = host.emeraldfound;
    snapshot.secondWon = host.playerwin != 0;
    return snapshot;
}

void ApplySnapshot(TGameState& replica, const TSnapshot& snapshot, bool ownLook) {
    PutFirst(replica, snapshot.second, ownLook);
    PutSecond(replica, snapshot.first);
    replica.quitmode = snapshot.quitmode;
    replica.emeraldfound = snapshot.emeraldfound;
    replica.playerwin = snapshot.secondWon ? 0 : 1;
}

std::vector<std::string> ReplicaDifferences(const TGameState& host, const TGameState& replica) {
    std::vector<std::string> differences;
    // Seen from the guest, the host's second figure is its first.
    const TSnapshot seen = TakeSnapshot(replica);
    const TSnapshot sent = TakeSnapshot(host);
    const auto figure = [&](const char* who, const TFigureSnapshot& a, const TFigureSnapshot& b) {
        const auto check = [&](const char* field, bool same) {
            if (!same) differences.push_back(std::string(who) + "." + field);
        };
        check("position", a.posx == b.posx && a.posy == b.posy && a.posz == b.posz);
        check("look", a.angle == b.angle && a.angle2 == b.angle2);
        check("limbs", a.swing == b.swing && a.jump == b.jump && a.walking == b.walking);
        check("lives", a.lives == b.lives);
        check("material", a.material == b.material);
        check("missile", a.missile == b.missile && a.missilex == b.missilex && a.missiley == b.missiley &&
                             a.missilez == b.missilez);
        check("distance", a.showdist == b.showdist && a.lastdist == b.lastdist);
    };
    figure("host figure", sent.first, seen.second);
    figure("guest figure", sent.second, seen.first);
    if (sent.quitmode != seen.quitmode) differences.push_back("quitmode");
    if (sent.emeraldfound != seen.emeraldfound) differences.push_back("emeraldfound");
    if (sent.secondWon == seen.secondWon) differences.push_back("playerwin");
    if (host.modusformKreativCheckchecked != replica.modusformKreativCheckchecked ||
        host.modusformFightCheckchecked != replica.modusformFightCheckchecked || !replica.multiplayer)
        differences.push_back("mode");
    if (std::memcmp(host.level.data(), replica.level.data(), kGridBytes) != 0) differences.push_back("cells");
    return differences;
}

}  // namespace qw::net
