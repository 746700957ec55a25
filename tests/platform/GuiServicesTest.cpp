// Input tracking and window services against real wx windows on the
// (virtual) display. Skipped when there is no display.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/utils.h>

#include <chrono>
#include <thread>

#include "platform/InputTracker.h"
#include "platform/PlatformServices.h"
#include "TestEnvironment.h"
#include "support/WxTestApp.h"

namespace qw {
namespace {

using namespace std::chrono_literals;

void Settle() {
    for (int i = 0; i < 20; ++i) {
        wxTheApp->Yield(true);
        std::this_thread::sleep_for(5ms);
    }
}

// Window-manager and focus events arrive when the X server gets round to
// them; a loaded machine may need a while.
template <typename Condition>
bool WaitFor(Condition condition) {
    const auto end = std::chrono::steady_clock::now() + 3s;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        wxTheApp->Yield(true);
        std::this_thread::sleep_for(5ms);
    }
    return condition();
}

class GuiTest : public testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
        // No sound device is wanted for window tests.
        env.Set("SDL_AUDIODRIVER", "no-such-driver");
        ASSERT_TRUE(test::StartWxOnce()) << "cannot open display " << std::getenv("DISPLAY");
        frame = new wxFrame(nullptr, wxID_ANY, "Quaderwelt", wxPoint(0, 0), wxSize(400, 300));
        canvas = new wxPanel(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxWANTS_CHARS);
    }
    void TearDown() override {
        if (frame != nullptr) frame->Destroy();
        if (wxTheApp != nullptr) Settle();
    }

    void Send(wxEventType type, int keyCode, uint32_t hardwareKey = 0) {
        wxKeyEvent event(type);
        event.m_keyCode = keyCode;
        event.m_rawFlags = hardwareKey;
        event.SetEventObject(canvas);
        canvas->GetEventHandler()->ProcessEvent(event);
    }
    void LoseFocus() {
        wxFocusEvent event(wxEVT_KILL_FOCUS);
        event.SetEventObject(canvas);
        canvas->GetEventHandler()->ProcessEvent(event);
    }

    test::ScopedEnv env;
    wxFrame* frame = nullptr;
    wxPanel* canvas = nullptr;
};

TEST_F(GuiTest, KeysAreHeldFromDownToUpAndOthersStillSeeThem) {
    int seenBefore = 0, seenAfter = 0;
    canvas->Bind(wxEVT_KEY_DOWN, [&](wxKeyEvent& e) { ++seenBefore; e.Skip(); });
    InputTracker tracker;
    tracker.Attach(canvas);
    canvas->Bind(wxEVT_KEY_DOWN, [&](wxKeyEvent& e) { ++seenAfter; e.Skip(); });

    Send(wxEVT_KEY_DOWN, 'W');
    Send(wxEVT_KEY_DOWN, WXK_NUMPAD_UP);
    EXPECT_TRUE(tracker.KeyHeld(static_cast<VirtualKey>('W')));
    EXPECT_TRUE(tracker.KeyHeld(VK_NUMPAD8));
    EXPECT_FALSE(tracker.KeyHeld(VK_UP));
    EXPECT_EQ(seenBefore, 2);
    EXPECT_EQ(seenAfter, 2);

    Send(wxEVT_KEY_UP, 'W');
    // Let go before the frame polled: the tap still counts for this frame.
    EXPECT_TRUE(tracker.KeyHeld(static_cast<VirtualKey>('W')));
    tracker.FrameDone();
    EXPECT_FALSE(tracker.KeyHeld(static_cast<VirtualKey>('W')));
    EXPECT_TRUE(tracker.KeyHeld(VK_NUMPAD8));
    EXPECT_FALSE(tracker.PressedThisFrame(VK_NUMPAD8));
}

TEST_F(GuiTest, AClickBetweenTwoFramesIsNotLost) {
    InputTracker tracker;
    tracker.Attach(canvas);
    for (wxEventType type : {wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP}) {
        wxMouseEvent event(type);
        event.SetEventObject(canvas);
        canvas->GetEventHandler()->ProcessEvent(event);
    }
    EXPECT_TRUE(tracker.PressedThisFrame(VK_RBUTTON));
    EXPECT_FALSE(tracker.PressedThisFrame(VK_LBUTTON));
    tracker.FrameDone();
    EXPECT_FALSE(tracker.KeyHeld(VK_RBUTTON));
}

TEST_F(GuiTest, ReleaseFollowsThePhysicalKey) {
    InputTracker tracker;
    tracker.Attach(canvas);
    // Shift went down while '1' was held: the release reports '!'.
    Send(wxEVT_KEY_DOWN, '1', 10);
    Send(wxEVT_KEY_UP, '!', 10);
    tracker.FrameDone();
    EXPECT_FALSE(tracker.KeyHeld(static_cast<VirtualKey>('1')));
}

TEST_F(GuiTest, TheTopRowChoosesOnAFrenchKeyboard) {
    InputTracker tracker;
    tracker.Attach(canvas);
    // The top row's first key, which AZERTY labels "&".
    Send(wxEVT_KEY_DOWN, '&', 10);
    tracker.FrameDone();
    EXPECT_TRUE(tracker.KeyHeld(static_cast<VirtualKey>('1')));
    Send(wxEVT_KEY_UP, '&', 10);
    EXPECT_FALSE(tracker.KeyHeld(static_cast<VirtualKey>('1')));
    // The numeric pad's 1 is no digit key.
    Send(wxEVT_KEY_DOWN, WXK_NUMPAD1, 87);
    EXPECT_FALSE(tracker.KeyHeld(static_cast<VirtualKey>('1')));
    EXPECT_TRUE(tracker.KeyHeld(VK_NUMPAD1));
}

TEST_F(GuiTest, FocusLossReleasesEveryKey) {
    InputTracker tracker;
    tracker.Attach(canvas);
    Send(wxEVT_KEY_DOWN, WXK_CONTROL, 37);
    Send(wxEVT_KEY_DOWN, WXK_SPACE, 65);
    LoseFocus();
    EXPECT_FALSE(tracker.KeyHeld(VK_CONTROL));
    EXPECT_FALSE(tracker.KeyHeld(VK_SPACE));
}

TEST_F(GuiTest, TrackerAndWindowMayDieInEitherOrder) {
    {
        InputTracker tracker;
        tracker.Attach(canvas);
    }
    Send(wxEVT_KEY_DOWN, 'A');  // must not reach the dead tracker

    InputTracker survivor;
    survivor.Attach(canvas);
    frame->Destroy();
    frame = nullptr;
    Settle();
}

TEST_F(GuiTest, CursorVisibilityIsAStateNotACounter) {
    PlatformServices services(frame, canvas);
    services.ShowCursor(false);
    services.ShowCursor(false);
    EXPECT_TRUE(canvas->GetCursor().IsOk());
    services.ShowCursor(true);
    EXPECT_TRUE(services.CursorShown());
    EXPECT_FALSE(canvas->GetCursor().IsOk());
    EXPECT_FALSE(frame->GetCursor().IsOk());

    services.ShowCursor(true);
    services.ShowCursor(false);
    EXPECT_FALSE(services.CursorShown());
    EXPECT_TRUE(canvas->GetCursor().IsOk());
    EXPECT_TRUE(frame->GetCursor().IsOk());
}

TEST_F(GuiTest, WarpedCursorIsReadBackInScreenPixels) {
    frame->Move(40, 30);
    frame->Show();
    ASSERT_TRUE(WaitFor([&] { return frame->IsShownOnScreen(); }));
    PlatformServices services(frame, canvas);
    services.SetCursorPos(200, 150);
    EXPECT_EQ(services.CursorPos().x, 200);
    EXPECT_EQ(services.CursorPos().y, 150);
    services.SetCursorPos(77, 260);
    EXPECT_EQ(services.CursorPos().x, 77);
    EXPECT_EQ(services.CursorPos().y, 260);
}

TEST_F(GuiTest, GeometryAndFocusOfTheShownWindow) {
    frame->Show();
    canvas->SetFocus();
    PlatformServices services(frame, canvas);
    EXPECT_TRUE(WaitFor([&] { return services.WindowHasFocus(); }));
    const TWindowGeometry g = services.WindowGeometry();
    EXPECT_EQ(g.width, 400);
    EXPECT_EQ(g.height, 300);
    EXPECT_GT(g.clientWidth, 0);
    EXPECT_LE(g.clientWidth, g.width);
    EXPECT_LE(g.clientHeight, g.height);

    frame->Hide();
    EXPECT_TRUE(WaitFor([&] { return !services.WindowHasFocus(); }));
}

TEST_F(GuiTest, TicksCountMilliseconds) {
    PlatformServices services(frame, canvas);
    const int64_t before = services.TickCount();
    std::this_thread::sleep_for(60ms);
    const int64_t elapsed = services.TickCount() - before;
    EXPECT_GE(elapsed, 60);
    EXPECT_LT(elapsed, 10000);  // only a sanity bound: the machine may be loaded
}

}  // namespace
}  // namespace qw
