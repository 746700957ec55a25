#include "shell/TMainForm.h"

#include <algorithm>
#include <chrono>
#include <exception>

#include <GL/gl.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/glcanvas.h>
#include <wx/radiobut.h>

#include "assets/MlfFont.h"
#include "assets/Screenshot.h"
#include "assets/Skin.h"
#include "assets/TextureLoader.h"
#include "platform/Folders.h"
#include "platform/IdleMemory.h"
#include "platform/MessageBoxes.h"
#include "net/EndTexts.h"
#include "platform/PlatformServices.h"
#include "render/GLState.h"
#include "shell/DataFolder.h"
#include "shell/ErrorBox.h"
#include "shell/GameFrame.h"
#include "shell/GlxSupport.h"
#include "shell/MaterialWheel.h"
#include "shell/NetGuestGame.h"
#include "shell/NetHostGame.h"
#include "shell/Overlay.h"
#include "shell/RealizeHidden.h"
#include "shell/TModusForm.h"
#include "shell/Terminate.h"
#include "shell/WxText.h"
#include "sim/Joyst.h"
#include "world/RoundSetup.h"
#include "world/WorldSavePolicy.h"

namespace qw {
namespace {

constexpr std::chrono::milliseconds kFrameInterval{20};
// Building the shaders of a new sight leaves some 25 MB of compiler code
// behind; ordinary play grows by far less between two frames.
constexpr size_t kIdleMemoryGrowth = size_t{8} << 20;
// How long a closing game waits for the other computer to hear of it.
constexpr uint32_t kQuitNoticeMs = 300;

struct TSoundAlias {
    const char* alias;
    const char* file;
};
constexpr TSoundAlias kSoundAliases[] = {
    {"troffen", "troffen.wav"}, {"btroffen", "btroffen.wav"}, {"launch", "launch.wav"},
    {"gewonnen", "bing.wav"},   {"bomb", "bomb.mp3"},         {"musik", "sound.mp3"},
};

wxGLAttributes PixelFormat() {
    wxGLAttributes attributes;
    attributes.PlatformDefaults().RGBA().MinRGBA(8, 8, 8, 8).Depth(24).DoubleBuffer().EndList();
    return attributes;
}

TMouseButton ButtonOf(const wxMouseEvent& event) {
    switch (event.GetButton()) {
        case wxMOUSE_BTN_LEFT: return TMouseButton::Left;
        case wxMOUSE_BTN_RIGHT: return TMouseButton::Right;
        default: return TMouseButton::Other;
    }
}

wxRect PrimaryDisplayArea() {
    for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) {
        const wxDisplay display(i);
        if (display.IsPrimary()) return display.GetGeometry();
    }
    return wxDisplay(0u).GetGeometry();
}

}  // namespace

TMainForm::TMainForm(TModusForm& modusForm)
    : wxFrame(nullptr, wxID_ANY, Wx("Korland Quaderwelt 1.0"), wxDefaultPosition, wxDefaultSize,
              wxBORDER_NONE | wxSTAY_ON_TOP),
      state(std::make_unique<TGameState>()),
      modusForm_(modusForm),
      idleMemory_(kIdleMemoryGrowth),
      pacer_(kFrameInterval),
      frameLog_(TFrameLog::FromEnvironment()) {
    if (!DisplayHasGlx()) return;  // even building the pixel format asks GLX
    const wxGLAttributes pixelFormat = PixelFormat();
    if (!wxGLCanvas::IsDisplaySupported(pixelFormat)) return;
    canvas_ = new wxGLCanvas(this, pixelFormat, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                             wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE);
    services_ = std::make_unique<PlatformServices>(this, canvas_);
    services_->input().Attach(canvas_);

    Timer1.SetOwner(this);
    Bind(wxEVT_TIMER, &TMainForm::Timer1Timer, this);
    Bind(wxEVT_CLOSE_WINDOW, &TMainForm::FormClose, this);
    canvas_->Bind(wxEVT_PAINT, [this](wxPaintEvent&) { wxPaintDC paintDC(canvas_); });
    for (const auto type : {wxEVT_LEFT_DOWN, wxEVT_RIGHT_DOWN, wxEVT_MIDDLE_DOWN, wxEVT_AUX1_DOWN, wxEVT_AUX2_DOWN})
        canvas_->Bind(type, &TMainForm::FormMouseDown, this);
    canvas_->Bind(wxEVT_LEFT_UP, &TMainForm::FormMouseUp, this);
    canvas_->Bind(wxEVT_RIGHT_UP, &TMainForm::FormMouseUp, this);
    canvas_->Bind(wxEVT_MOUSEWHEEL, &TMainForm::FormMouseWheel, this);

    FormCreate();
}

TMainForm::~TMainForm() { FormDestroy(); }

template <typename Step>
void TMainForm::RunStep(Step&& step) {
    try {
        step();
    } catch (const std::exception& error) {
        ShowError([&] { ShowErrorBox(error, IsShown() ? this : nullptr); });
    }
}

template <typename Box>
void TMainForm::ShowError(Box&& box) {
    // Above the full-screen window the player needs the cursor to press OK;
    // afterwards it is visible again only while the menu is open.
    if (services_) services_->ShowCursor(true);
    box();
    if (services_) services_->ShowCursor(!IsShown() || state->quitmode);
}

// ---- creation ----

void TMainForm::FormCreate() {
    RunStep([&] { PlaceOnPrimaryDisplay(); });
    RunStep([&] { FindProgramFolder(); });
    if (!CreateGLContext()) return;  // the program ends: see HasGLContext
    RunStep([&] { GenerateTextureNames(); });
    RunStep([&] { LoadBlockTextures(state->ProgPath, state->texName); });
    RunStep([&] { LoadDefaultSkins(); });
    RunStep([&] { BuildBlockLists(*state); });
    RunStep([&] { OpenSoundAliases(); });
    RunStep([&] { LoadFont(); });
    RunStep([&] { StartMusic(); });
    RunStep([&] { ArmMusicCheck(); });
    RunStep([&] { SeedRandom(); });
    RunStep([&] { InitJoystick(); });
    // The dialog comes next and may stay a long time.
    RunStep([&] { idleMemory_.Check(); });
}

void TMainForm::PlaceOnPrimaryDisplay() {
    const wxRect area = PrimaryDisplayArea();
    displayTop_ = area.GetTop();
    SetSize(area);
    canvas_->SetSize(GetClientSize());
}

void TMainForm::FindProgramFolder() { state->ProgPath = ExecutableDir(); }

bool TMainForm::CreateGLContext() {
    if (!RealizeHidden(canvas_)) return false;
    wxGLContextAttrs contextAttributes;
    contextAttributes.PlatformDefaults().CompatibilityProfile().EndList();
    auto context = std::make_unique<wxGLContext>(canvas_, nullptr, &contextAttributes);
    if (!context->IsOK() || !canvas_->SetCurrent(*context)) return false;
    RC = std::move(context);
    RequestSwapIntervalZero();
    return true;
}

void TMainForm::GenerateTextureNames() { glGenTextures(static_cast<GLsizei>(state->texName.size()), state->texName.data()); }

TSkinReport TMainForm::SkinReport() {
    // Reported above the game window with the cursor visible; the showing
    // goes on as after a rejected skin.
    return TSkinReport{
        [this](const std::string& text) {
            services_->ShowCursor(true);
            ShowErrorMessage(text, IsShown() ? this : nullptr);
        },
        [this](const std::string& message) {
            services_->ShowCursor(true);
            ShowStandardError(message, IsShown() ? this : nullptr);
        }};
}

void TMainForm::LoadSkin(const std::string& fileName, int32_t textureBase) {
    OpenThePng(*state, fileName, SkinReport());
    InitSkinTextures(*state, textureBase);
}

void TMainForm::LoadDefaultSkins() {
    LoadSkin(state->ProgPath + "gegner.png", kOpponentSkinBase);
    LoadSkin(state->ProgPath + "spieler.png", kPlayerSkinBase);
}

void TMainForm::LoadFont() {
    OpenMLFontFile(*state, state->ProgPath + "Arial.mlf",
                   [](const std::string& message) { ShowStandardError(message); });
}

void TMainForm::OpenSoundAliases() {
    for (const TSoundAlias& sound : kSoundAliases) {
        services_->SoundCommand("open \"" + state->ProgPath + sound.file + "\" alias " + sound.alias);
    }
}

void TMainForm::StartMusic() { services_->SoundCommand("play musik from 0"); }

void TMainForm::ArmMusicCheck() {
    state->setstatus = true;
    state->statustime = services_->TickCount();
}

void TMainForm::SeedRandom() { services_->SeedRandomFromClock(); }

void TMainForm::InitJoystick() { JoystickInit(state->joy1, 0, *services_); }

// ---- showing ----

void TMainForm::ShowGame(bool modal) {
    shownModally_ = modal;
    savedOnClose_ = false;
    launchWorld_.NewLaunch();
    if (modal) modusForm_.Disable();
    Show();
    Raise();
    canvas_->SetFocus();
    FormShow();
}

void TMainForm::ShowNetworkHost(std::unique_ptr<net::THostSession> session) {
    netHost_ = std::make_unique<TNetHostGame>(std::move(session),
                                              [this](net::TGuestEventKind click) { ActOnGuestMenuClick(click); });
    ShowGame(true);
}

void TMainForm::ShowNetworkGuest(std::unique_ptr<net::TGuestSession> session) {
    netGuest_ = std::make_unique<TNetGuestGame>(std::move(session));
    // The replica is not a world of this computer's: nothing may ever save
    // it over one.
    state->levelorigin = TWorldOrigin{};
    state->levelname.clear();
    state->quitmode = false;
    state->emeraldfound = false;
    ShowGame(true);
}

void TMainForm::FormShow() {
    // Every step runs even when one before it failed: a full-screen window
    // without its frame timer would trap the player.
    if (!netGuest_) {
        // A guest's round comes from the host, mode and world included.
        RunStep([&] { ReadDialogChoices(); });
        RunStep([&] { TerminateUnlessLaunched(); });
        RunStep([&] { MakeNewGame(); });
    }
    RunStep([&] { HideCursor(); });
    RunStep([&] { LoadChosenSkins(); });
    RunStep([&] {
        const wxSize pixels = CanvasPixelSize();
        InitGLState(*state, pixels.x, pixels.y);
    });
    RunStep([&] { services_->ShowCursor(state->quitmode); });
    RunStep([&] { StartTimer(); });
}

void TMainForm::LoadChosenSkins() {
    if (NetworkGame()) {
        // Each player wears its own skin and sees the other in the other's.
        const std::string playerSkin = modusForm_.PlayerSkinFile();
        if (!playerSkin.empty()) LoadSkin(playerSkin, kPlayerSkinBase);
        LoadOtherPlayersSkin(netHost_ ? netHost_->guestSkin() : netGuest_->hostSkin());
        return;
    }
    const std::string opponentSkin = modusForm_.OpponentSkinFile();
    if (!opponentSkin.empty()) LoadSkin(opponentSkin, kOpponentSkinBase);
    const std::string playerSkin = modusForm_.PlayerSkinFile();
    if (!playerSkin.empty()) LoadSkin(playerSkin, kPlayerSkinBase);
}

void TMainForm::LoadOtherPlayersSkin(const std::vector<uint8_t>& skin) {
    LoadSkin(state->ProgPath + "gegner.png", kOpponentSkinBase);
    if (!skin.empty() && OpenThePngBytes(*state, skin)) InitSkinTextures(*state, kOpponentSkinBase);
}

void TMainForm::ReadDialogChoices() {
    state->modusformKreativCheckchecked = modusForm_.KreativCheck->GetValue();
    state->modusformFightCheckchecked = modusForm_.FightCheck->GetValue();
    // A network game has two players by nature.
    state->multiplayer = modusForm_.ZweiSpielerCheck->GetValue() || netHost_;
}

void TMainForm::TerminateUnlessLaunched() {
    if (modusForm_.res != 1 && modusForm_.res != 6) RequestTerminate();
}

void TMainForm::MakeNewGame() {
    try {
        SetUpRound();
    } catch (...) {
        // A damaged world is the round's world too, set up as an empty grid:
        // the guest gets it before the player is told.
        if (netHost_) netHost_->RoundStarted(*state);
        throw;
    }
    if (netHost_) netHost_->RoundStarted(*state);
}

void TMainForm::SetUpRound() {
    GameRandom& rng = services_->random();
    if (modusForm_.res == 1) {
        const std::string selected = GetProgramDir(false) + modusForm_.SelectedWorld().value_or(std::string());
        SetUpRoundOnFile(*state, launchWorld_.File(selected), rng);
    } else {
        SetUpRoundOnNewWorld(*state, NewWorldLevelName(GetProgramDir(true), modusForm_.NewWorldName()), rng);
    }
}

void TMainForm::HideCursor() { services_->ShowCursor(false); }

void TMainForm::StartTimer() {
    ticking_ = true;
    WaitForTick(pacer_.Start(TTickPacer::Clock::now()));
}

void TMainForm::StopTimer() {
    ticking_ = false;
    Timer1.Stop();
}

void TMainForm::WaitForTick(TTickPacer::Clock::duration wait) {
    // Whole milliseconds, at least one, so the event loop always gets a turn.
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(wait).count();
    Timer1.StartOnce(static_cast<int>(std::max<decltype(ms)>(ms, 1)));
}

// ---- the frame ----

void TMainForm::Timer1Timer(wxTimerEvent&) {
    // An error box opened by a frame runs its own event loop; no frame may
    // start underneath it.
    if (inFrame_) return;
    inFrame_ = true;
    if (frameLog_) frameLog_->FrameStarts();
    RunStep([&] {
        const wxPoint position = GetPosition();
        if (position.y != displayTop_) Move(position.x, displayTop_);
        Draw();
    });
    if (frameLog_) frameLog_->FrameEnds();
    inFrame_ = false;
    // Not when the frame closed the window.
    if (ticking_) WaitForTick(pacer_.Next(TTickPacer::Clock::now()));
}

void TMainForm::MakeCurrent() { canvas_->SetCurrent(*RC); }

wxSize TMainForm::CanvasPixelSize() const {
    // GL works in device pixels; on a scaled (HiDPI) desktop they outnumber
    // the window's logical pixels.
    const wxSize logical = canvas_->GetClientSize();
    const double scale = canvas_->GetContentScaleFactor();
    return wxSize(static_cast<int>(logical.x * scale + 0.5), static_cast<int>(logical.y * scale + 0.5));
}

void TMainForm::Draw() {
    if (NetworkGame()) return DrawNetworkFrame();
    MakeCurrent();
    const wxSize pixels = CanvasPixelSize();
    TFrameHooks hooks;
    hooks.cells = [this](int view) { fastWorld_.DrawCells(*state, view); };
    hooks.takeScreenshot = [&] {
        TakeScreenshot(GetSpecialFolderPath(CSIDL_MYPICTURES), pixels.x, pixels.y);
    };
    GameFrame(*state, *services_, pixels.x, pixels.y, hooks);
    canvas_->SwapBuffers();
    services_->input().FrameDone();
    idleMemory_.Check();
}

void TMainForm::DrawNetworkFrame() {
    MakeCurrent();
    const wxSize pixels = CanvasPixelSize();
    const TNetFrameEnv env{*state, *services_, pixels.x, pixels.y,
                           [this](int view) { fastWorld_.DrawCells(*state, view); },
                           [&] { TakeScreenshot(GetSpecialFolderPath(CSIDL_MYPICTURES), pixels.x, pixels.y); }};
    const bool going = netHost_ ? netHost_->Tick(env) : netGuest_->Tick(env);
    canvas_->SwapBuffers();
    services_->input().FrameDone();
    idleMemory_.Check();
    if (!going) EndNetworkGame(netHost_ ? netHost_->EndCause() : netGuest_->EndCause());
}

void TMainForm::EndNetworkGame(const net::TEndCause& cause) {
    StopTimer();
    netHost_.reset();
    netGuest_.reset();
    // The partner ending the game is news; anything else went wrong.
    ShowError([&] {
        if (cause.reason == net::TEndReason::Quit) {
            ShowNotice(net::EndText(cause), this);
        } else {
            ShowErrorMessage(net::EndText(cause), this);
        }
    });
    // As on closing the window: the host's creative world is saved; one that
    // cannot be saved stays open, now as a game of this computer alone.
    if (!SaveCreativeWorldOnClose()) {
        StartTimer();
        return;
    }
    savedOnClose_ = true;
    services_->ShowCursor(true);
    Hide();
    modusForm_.Enable();
    shownModally_ = false;
    modusForm_.Raise();
}

void TMainForm::EndNetworkSession(uint32_t waitMs) {
    if (netHost_) netHost_->End(net::TEndReason::Quit, waitMs);
    if (netGuest_) netGuest_->End(net::TEndReason::Quit, waitMs);
    netHost_.reset();
    netGuest_.reset();
}

// ---- closing ----

void TMainForm::FormClose(wxCloseEvent& event) {
    if (!event.CanVeto()) {
        event.Skip();
        return;
    }
    event.Veto();  // the window is only hidden; the start dialog may show it again
    StopTimer();
    if (!SaveCreativeWorldOnClose()) {
        // The next launch would empty the grid: a world that could not be
        // saved stays on the screen. The player has been told why.
        StartTimer();
        return;
    }
    savedOnClose_ = true;
    // The other player is told at once; its game ends too.
    EndNetworkSession(kQuitNoticeMs);
    services_->ShowCursor(true);
    Hide();
    if (shownModally_) modusForm_.Enable();
    shownModally_ = false;
    modusForm_.Raise();
}

bool TMainForm::SaveCreativeWorldOnClose() {
    // The next launch empties the grid: a creative world is saved now or lost.
    bool saved = false;
    RunStep([&] { saved = SaveCreativeWorldAndTell(); });
    return saved;
}

bool TMainForm::SaveCreativeWorldAndTell() {
    const CreativeSaveResult result = SaveCreativeWorld(*state);
    launchWorld_.Saved(result);
    return ReportCreativeSave(result);
}

bool TMainForm::ReportCreativeSave(const CreativeSaveResult& result) {
    wxWindow* parent = IsShown() ? this : nullptr;
    if (!result.ok) {
        ShowError([&] { ShowErrorMessage(result.error, parent); });
    } else if (!result.notice.empty()) {
        ShowError([&] { ShowNotice(result.notice, parent); });
    }
    return result.ok;
}

void TMainForm::FormDestroy() {
    StopTimer();
    EndNetworkSession(kQuitNoticeMs);
    // A closed window saved its world as it closed. Saving it again would
    // bring back a world the player has deleted or renamed since.
    if (!savedOnClose_) RunStep([&] { SaveCreativeWorldAndTell(); });
    if (RC) {
        MakeCurrent();
        fastWorld_.ReleaseGL();
    }
    RC.reset();
    services_.reset();
}

// ---- mouse ----

void TMainForm::FormMouseDown(wxMouseEvent& event) {
    event.Skip();
    // The overlay is drawn in device pixels; on a scaled desktop the event's
    // logical position must be scaled the same way.
    const double scale = canvas_->GetContentScaleFactor();
    const wxSize pixels = CanvasPixelSize();
    const int x = static_cast<int>(event.GetX() * scale);
    const int y = static_cast<int>(event.GetY() * scale);
    menuPresses_.Pressed(*state, ButtonOf(event), state->quitmode);
    if (netGuest_) return GuestMenuClick(x, y, pixels.x, pixels.y);
    RunStep([&] { MenuMouseDown(*state, x, y, pixels.x, pixels.y, MenuActions()); });
}

TMenuActions TMainForm::MenuActions() {
    TMenuActions actions;
    actions.terminateApplication = RequestTerminate;
    actions.hideCursor = [this] { services_->ShowCursor(false); };
    actions.saveWorld = [this] { return SaveCreativeWorldAndTell(); };
    actions.makeNewGame = [this] { MakeNewGame(); };
    return actions;
}

void TMainForm::GuestMenuClick(int x, int y, int width, int height) {
    // The menu is the host's; only "Beenden", which ends this program, is
    // acted on here.
    if (!state->quitmode) return;
    state->mpoi = {x, y};
    const TMenuArea area = MenuAreaAt(x, y, width, height);
    if (area == TMenuArea::Left) return RequestTerminate();
    netGuest_->MenuClick(*state, area);
}

void TMainForm::ActOnGuestMenuClick(net::TGuestEventKind click) {
    const TMenuArea area = click == net::TGuestEventKind::MenuRight ? TMenuArea::Right : TMenuArea::Third;
    RunStep([&] { MenuAction(*state, area, MenuActions()); });
}

void TMainForm::FormMouseUp(wxMouseEvent& event) {
    event.Skip();
    menuPresses_.Released(*state, ButtonOf(event));
}

void TMainForm::FormMouseWheel(wxMouseEvent& event) {
    if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL || event.GetWheelDelta() <= 0) return;
    // Fine-grained wheels report parts of a notch; only whole notches step.
    wheelRotation_ += event.GetWheelRotation();
    while (wheelRotation_ >= event.GetWheelDelta()) {
        wheelRotation_ -= event.GetWheelDelta();
        if (netGuest_) netGuest_->Wheel(*state, false);
        else FormMouseWheelUp();
    }
    while (wheelRotation_ <= -event.GetWheelDelta()) {
        wheelRotation_ += event.GetWheelDelta();
        if (netGuest_) netGuest_->Wheel(*state, true);
        else FormMouseWheelDown();
    }
}

void TMainForm::FormMouseWheelDown() { MaterialWheelDown(*state); }

void TMainForm::FormMouseWheelUp() { MaterialWheelUp(*state); }

// ---- folders ----

std::string TMainForm::GetProgramDir(bool create) { return LocateDataFolder(*state, create); }

std::string TMainForm::GetSpecialFolderPath(int csidl) { return qw::GetSpecialFolderPath(csidl, state->wasfound); }

}  // namespace qw
