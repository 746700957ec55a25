// The start dialog's layout against a real wx window on the (virtual)
// display. Skipped when there is no display.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/filepicker.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <utility>

#include "platform/TestEnvironment.h"
#include "shell/TModusForm.h"
#include "support/WxTestApp.h"

namespace qw {
namespace {

wxRect Rect(int x, int y, int w, int h) { return wxRect(x, y, w, h); }

// Positions and sizes in client pixels, as the dialog is designed; controls
// that span the dialog grow by the same amount when a mode caption does not
// fit the desktop's font.
TEST(StartDialog, ClientAreaAndControlsAtTheirPlaces) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
    test::TempDir home;
    test::ScopedEnv env;
    env.Set("XDG_CONFIG_HOME", home.str());  // no skin settings of the user
    ASSERT_TRUE(test::StartWxOnce()) << "cannot open display " << std::getenv("DISPLAY");

    auto* form = new TModusForm;
    int grow = 0;
    for (const auto& [mode, width] :
         {std::pair{form->SmaragdCheck, 361}, std::pair{form->KreativCheck, 353}, std::pair{form->FightCheck, 369}})
        grow = std::max(grow, mode->GetBestSize().x - width);

    EXPECT_EQ(form->GetClientSize(), wxSize(420 + grow, 539));
    EXPECT_EQ(form->EinzelCheck->GetPosition(), wxPoint(8, 8));
    EXPECT_EQ(form->ZweiSpielerCheck->GetPosition(), wxPoint(8, 24));
    EXPECT_EQ(form->GroupBox1->GetRect(), Rect(8, 48, 401 + grow, 73));
    EXPECT_EQ(form->SmaragdCheck->GetPosition(), wxPoint(24, 64));
    EXPECT_EQ(form->KreativCheck->GetPosition(), wxPoint(24, 80));
    EXPECT_EQ(form->FightCheck->GetPosition(), wxPoint(24, 96));
    EXPECT_EQ(form->FilenameEdit1->GetRect(), Rect(8, 144, 401 + grow, 21));
    EXPECT_EQ(form->FilenameEdit2->GetRect(), Rect(8, 184, 401 + grow, 21));
    EXPECT_EQ(form->Edit1->GetRect(), Rect(8, 224, 401 + grow, 21));
    EXPECT_EQ(form->ListView1->GetRect(), Rect(8, 272, 401 + grow, 153));
    EXPECT_EQ(form->playthisworldbtn->GetRect(), Rect(8, 440, 201, 25));
    EXPECT_EQ(form->playnewworld->GetRect(), Rect(216, 440, 193 + grow, 25));
    EXPECT_EQ(form->loeschenbtn->GetRect(), Rect(8, 472, 201, 25));
    EXPECT_EQ(form->UmbenennenBtn->GetRect(), Rect(8, 504, 201, 25));
    EXPECT_EQ(form->exitgame->GetRect(), Rect(216, 472, 193 + grow, 57));
    EXPECT_EQ(form->Edit1->GetValue(), "Neue Welt");
    EXPECT_TRUE(form->EinzelCheck->GetValue());
    EXPECT_TRUE(form->SmaragdCheck->GetValue());
    form->Destroy();
    wxTheApp->ProcessPendingEvents();
}

}  // namespace
}  // namespace qw
