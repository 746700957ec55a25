// The toolkit's own texts under a desktop whose language is not German: the
// real message box and file dialog are opened on the (virtual) display and
// their labels read back from the GTK widgets the player would see. The
// test runs once under LANG=C and once under LANG=en_US.UTF-8.
#include "platform/GermanToolkitTexts.h"

#include <gtest/gtest.h>

#include <gtk/gtk.h>
#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/stockitem.h>
#include <wx/translation.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "TestEnvironment.h"
#include "support/WxTestApp.h"

namespace qw {
namespace {

std::string Utf8(const wxString& text) { return text.utf8_string(); }

void CollectTexts(GtkWidget* widget, std::set<std::string>& texts) {
    if (GTK_IS_LABEL(widget)) texts.insert(gtk_label_get_text(GTK_LABEL(widget)));
    if (GTK_IS_CONTAINER(widget)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList* child = children; child != nullptr; child = child->next) {
            CollectTexts(GTK_WIDGET(child->data), texts);
        }
        g_list_free(children);
    }
}

// Reads the texts of the GTK dialog that a modal wx dialog put on the screen,
// then closes it: ShowModal runs its own loop, so this is called from there.
struct DialogReader {
    std::set<std::string> texts;
    bool found = false;

    static gboolean Read(gpointer self) {
        auto* reader = static_cast<DialogReader*>(self);
        GList* windows = gtk_window_list_toplevels();
        for (GList* w = windows; w != nullptr; w = w->next) {
            GtkWidget* window = GTK_WIDGET(w->data);
            if (!GTK_IS_DIALOG(window) || !gtk_widget_get_mapped(window)) continue;
            CollectTexts(window, reader->texts);
            reader->found = true;
            gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_CANCEL);
        }
        g_list_free(windows);
        return reader->found ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
    }
    void Arm() { g_timeout_add(100, &DialogReader::Read, this); }
};

class GermanToolkitTexts : public testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
        env.Set("SDL_AUDIODRIVER", "no-such-driver");
        env.Set("NO_AT_BRIDGE", "1");
        // The file dialog shows the places of a home; keep it private.
        env.Set("HOME", home.str());
        env.Set("XDG_CONFIG_HOME", home.str() + "/.config");
        env.Set("XDG_DATA_HOME", home.str() + "/.local/share");
        ASSERT_TRUE(test::StartWxOnce()) << "cannot open display " << std::getenv("DISPLAY");
    }

    test::ScopedEnv env;
    test::TempDir home;
};

TEST_F(GermanToolkitTexts, WxWidgetsOwnTextsAreGerman) {
    UseGermanToolkitTexts();
    // The skin choosers' browse button and the stock labels of every button.
    EXPECT_EQ(Utf8(wxGetTranslation("Browse")), "Durchsuchen");
    EXPECT_EQ(Utf8(wxGetStockLabel(wxID_YES, wxSTOCK_NOFLAGS)), "Ja");
    EXPECT_EQ(Utf8(wxGetStockLabel(wxID_NO, wxSTOCK_NOFLAGS)), "Nein");
    EXPECT_EQ(Utf8(wxGetStockLabel(wxID_CANCEL, wxSTOCK_NOFLAGS)), "Abbrechen");
}

TEST_F(GermanToolkitTexts, TheDeleteQuestionHasGermanButtons) {
    UseGermanToolkitTexts();
    DialogReader reader;
    reader.Arm();
    wxMessageDialog question(nullptr, wxString::FromUTF8("Wollen Sie die Welt a.lev wirklich löschen?"),
                             wxString::FromUTF8("Löschen"), wxYES_NO | wxCANCEL | wxICON_QUESTION);
    question.ShowModal();
    ASSERT_TRUE(reader.found);
    for (const char* label : {"Ja", "Nein", "Abbrechen"}) EXPECT_EQ(reader.texts.count(label), 1u) << label;
    for (const char* label : {"Yes", "No", "Cancel"}) EXPECT_EQ(reader.texts.count(label), 0u) << label;
}

TEST_F(GermanToolkitTexts, TheFileDialogIsGerman) {
    UseGermanToolkitTexts();
    DialogReader reader;
    reader.Arm();
    wxFileDialog chooser(nullptr, wxString::FromUTF8("Minecraft Skin auswählen"), home.str(), wxString(),
                         "PNG Dateien (*.png)|*.png", wxFD_OPEN);
    chooser.ShowModal();
    ASSERT_TRUE(reader.found);
    // Its buttons, and places that GTK itself names.
    for (const char* label : {"Öffnen", "Abbrechen", "Andere Orte", "Zuletzt verwendet"}) {
        EXPECT_EQ(reader.texts.count(label), 1u) << label;
    }
    for (const char* label : {"Open", "Cancel", "Other Locations", "Recent", "Home"}) {
        EXPECT_EQ(reader.texts.count(label), 0u) << label;
    }
}

// Only the language of the texts changes: numbers, the character set of
// file names and everything else of the program's locale stay as they were.
TEST_F(GermanToolkitTexts, TheLocaleOfTheRestStays) {
    const std::string ctype = std::setlocale(LC_CTYPE, nullptr);
    const std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
    const std::string collate = std::setlocale(LC_COLLATE, nullptr);
    const std::string time = std::setlocale(LC_TIME, nullptr);
    char before[32];
    std::snprintf(before, sizeof before, "%.2f", 1234.5);
    const wxString name = wxString::FromUTF8("Schöne Welt.lev");
    const std::string fileBytes(name.fn_str());

    UseGermanToolkitTexts();

    EXPECT_EQ(std::setlocale(LC_CTYPE, nullptr), ctype);
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), numeric);
    EXPECT_EQ(std::setlocale(LC_COLLATE, nullptr), collate);
    EXPECT_EQ(std::setlocale(LC_TIME, nullptr), time);
    char after[32];
    std::snprintf(after, sizeof after, "%.2f", 1234.5);
    EXPECT_STREQ(after, before);
    EXPECT_EQ(std::string(name.fn_str()), fileBytes);
}

// The system's own error texts end up in the game's error boxes, which take
// UTF-8; in German they must not lose their umlauts to the C character set.
TEST_F(GermanToolkitTexts, SystemErrorTextsAreGermanUtf8) {
    UseGermanToolkitTexts();
    EXPECT_STREQ(std::strerror(ENOSPC), "Auf dem Gerät ist kein Speicherplatz mehr verfügbar");
}

}  // namespace
}  // namespace qw
