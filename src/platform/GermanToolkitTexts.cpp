#include "platform/GermanToolkitTexts.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include <wx/translation.h>

namespace qw {

void UseGermanToolkitTexts() {
    // GTK and the C library translate through gettext, which takes its
    // languages from LANGUAGE before any locale category.
    setenv("LANGUAGE", "de_DE:de", 1);

    // gettext ignores LANGUAGE while the messages category is the plain C
    // locale, which is what a wxWidgets program runs in unless it asks for
    // the user's. C.UTF-8 follows the same rules as C; only its name lets
    // LANGUAGE count. Without it the user's own messages locale will do.
    // Setting the category in every case also makes gettext forget what it
    // translated before.
    const char* current = std::setlocale(LC_MESSAGES, nullptr);
    const std::string messages = current != nullptr ? current : "C";
    if (messages != "C" && messages != "POSIX") {
        std::setlocale(LC_MESSAGES, messages.c_str());
    } else if (std::setlocale(LC_MESSAGES, "C.UTF-8") == nullptr && std::setlocale(LC_MESSAGES, "") == nullptr) {
        std::setlocale(LC_MESSAGES, messages.c_str());
    }

    // Our texts are UTF-8; the C library's error texts must be too, not
    // squeezed into the character set of LC_CTYPE, which stays the user's.
    bind_textdomain_codeset("libc", "UTF-8");

    // wxWidgets reads its own catalogs and needs no locale for them.
    auto* translations = new wxTranslations;
    translations->SetLanguage(wxLANGUAGE_GERMAN);
    translations->AddStdCatalog();
    wxTranslations::Set(translations);
}

}  // namespace qw
