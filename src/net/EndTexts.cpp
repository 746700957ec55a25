#include "net/EndTexts.h"

namespace qw::net {

std::string EndText(const TEndCause& cause) {
    if (cause.unreachable) return "Der Gastgeber ist nicht erreichbar.";
    if (cause.reason == TEndReason::Malformed && cause.detectedHere)
        return "Vom Mitspieler kam eine fehlerhafte Nachricht. Die Verbindung wurde beendet.";
    switch (cause.reason) {
        case TEndReason::Quit: return "Dein Mitspieler hat das Spiel beendet.";
        case TEndReason::WrongCode: return "Der Code ist falsch.";
        case TEndReason::OtherVersion: return "Der Mitspieler hat eine andere Version von Quaderwelt.";
        case TEndReason::Busy: return "Der Gastgeber hat schon einen Mitspieler.";
        case TEndReason::Cancelled:
            if (cause.joining) return "Der Gastgeber wartet nicht mehr auf einen Mitspieler.";
            return "Dein Mitspieler hat das Spiel beendet.";
        default: return "Die Verbindung zum Mitspieler ist abgebrochen.";
    }
}

}  // namespace qw::net
