#pragma once
// The game window: full screen, borderless, always on top, one GL canvas. It
// owns the game state record and every resource made for it, and runs one
// frame per 20 ms timer tick while it is shown.
#include <memory>
#include <string>
#include <vector>

#include <wx/frame.h>
#include <wx/timer.h>

#include "render/FastWorld.h"
#include "shell/Overlay.h"
#include "platform/IdleMemory.h"
#include "shell/FrameLog.h"
#include "shell/TickPacer.h"
#include "world/GameState.h"
#include "world/WorldSavePolicy.h"

class wxGLCanvas;
class wxGLContext;
class wxMouseEvent;

namespace qw {

struct TSkinReport;
class PlatformServices;
class TModusForm;
class TNetGuestGame;
class TNetHostGame;
enum class TMenuArea;
namespace net {
class TGuestSession;
class THostSession;
struct TEndCause;
enum class TGuestEventKind : uint8_t;
}  // namespace net
struct TMenuActions;

class TMainForm : public wxFrame {
public:
    // Creates the window hidden and runs FormCreate. Check HasGLContext()
    // afterwards: without one the game cannot run.
    explicit TMainForm(TModusForm& modusForm);
    ~TMainForm() override;

    bool HasGLContext() const { return RC != nullptr; }

    // Shows the window and starts a round. Modal: the start dialog stays
    // disabled until the window is closed again.
    void ShowGame(bool modal);
    // The same for a network game, modal: as its host (the round is set up
    // here and sent to the guest) or as its guest (the record is a replica
    // of the host's and already holds the first round's world).
    void ShowNetworkHost(std::unique_ptr<net::THostSession> session);
    void ShowNetworkGuest(std::unique_ptr<net::TGuestSession> session);

    // The data folder for world files, ending in "/"; sets state->wasfound.
    std::string GetProgramDir(bool create);
    // A shell folder by CSIDL number; sets state->wasfound.
    std::string GetSpecialFolderPath(int csidl);

    void MakeNewGame();

    std::unique_ptr<TGameState> state;

private:
    // FormCreate, step by step.
    void FormCreate();
    void PlaceOnPrimaryDisplay();
    void FindProgramFolder();
    bool CreateGLContext();
    void RequestNoSwapInterval();
    void GenerateTextureNames();
    void LoadDefaultSkins();
    void OpenSoundAliases();
    void LoadFont();
    void StartMusic();
    void ArmMusicCheck();
    void SeedRandom();
    void InitJoystick();

    // MakeNewGame without telling a network guest.
    void SetUpRound();

    // FormShow, step by step.
    void FormShow();
    void ReadDialogChoices();
    void TerminateUnlessLaunched();
    void HideCursor();
    void LoadChosenSkins();
    void StartTimer();
    void StopTimer();
    void WaitForTick(TTickPacer::Clock::duration wait);

    TSkinReport SkinReport();
    void LoadSkin(const std::string& fileName, int32_t textureBase);
    // The other player's skin of a network game, or the default one when it
    // sent none or one that is no skin.
    void LoadOtherPlayersSkin(const std::vector<uint8_t>& skin);

    // A network game.
    bool NetworkGame() const { return netHost_ || netGuest_; }
    void DrawNetworkFrame();
    void EndNetworkGame(const net::TEndCause& cause);
    void EndNetworkSession(uint32_t waitMs);
    void GuestMenuClick(int x, int y, int width, int height);
    void ActOnGuestMenuClick(net::TGuestEventKind click);
    TMenuActions MenuActions();

    void Timer1Timer(wxTimerEvent& event);
    void FormClose(wxCloseEvent& event);
    // False when the world could not be saved; the player has been told.
    bool SaveCreativeWorldOnClose();
    // Saves a creative world, follows it to a new file if it had to go to one,
    // and tells the player about a failed or redirected save; true when saved.
    bool SaveCreativeWorldAndTell();
    bool ReportCreativeSave(const CreativeSaveResult& result);
    void FormDestroy();
    void FormMouseDown(wxMouseEvent& event);
    void FormMouseUp(wxMouseEvent& event);
    void FormMouseWheel(wxMouseEvent& event);
    void FormMouseWheelDown();
    void FormMouseWheelUp();

    void Draw();
    void MakeCurrent();
    // The canvas's size in device pixels, the size of the GL picture.
    wxSize CanvasPixelSize() const;

    // Runs one step; an error goes to the standard error box and the caller
    // carries on with its next step.
    template <typename Step>
    void RunStep(Step&& step);
    // Shows a modal box with the cursor visible.
    template <typename Box>
    void ShowError(Box&& box);

    TModusForm& modusForm_;
    std::unique_ptr<TNetHostGame> netHost_;
    std::unique_ptr<TNetGuestGame> netGuest_;
    wxGLCanvas* canvas_ = nullptr;
    std::unique_ptr<wxGLContext> RC;
    std::unique_ptr<PlatformServices> services_;
    TFastWorld fastWorld_;
    TIdleMemoryWatch idleMemory_;
    TTickPacer pacer_;
    TLaunchWorld launchWorld_;  // the stored world this launch's rounds play
    TMenuPressLatches menuPresses_;
    std::unique_ptr<TFrameLog> frameLog_;  // only with QUADERWELT_FRAME_LOG set
    wxTimer Timer1;  // one tick at a time, each scheduled by pacer_
    bool ticking_ = false;
    int displayTop_ = 0;       // top edge of the display the window covers
    int wheelRotation_ = 0;    // wheel movement not yet turned into whole notches
    bool shownModally_ = false;
    bool savedOnClose_ = false;  // the window was closed and its world saved since it was last shown
    bool inFrame_ = false;
};

}  // namespace qw
