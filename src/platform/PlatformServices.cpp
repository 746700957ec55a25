#include "platform/PlatformServices.h"

#include <wx/cursor.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <wx/window.h>

namespace qw {

PlatformServices::PlatformServices(wxWindow* window, wxWindow* canvas) : window_(window), canvas_(canvas) {}

void PlatformServices::SoundCommand(const std::string& command, std::string* reply) {
    sound_.Command(command, reply);
}

bool PlatformServices::KeyHeld(VirtualKey key) {
    // The buttons are asked of the pointer itself, so a release outside the
    // window cannot leave one held; a click between two frames still counts.
    if (key == VK_LBUTTON) return wxGetMouseState().LeftIsDown() || input_.PressedThisFrame(key);
    if (key == VK_RBUTTON) return wxGetMouseState().RightIsDown() || input_.PressedThisFrame(key);
    return input_.KeyHeld(key);
}

TPoint PlatformServices::CursorPos() {
    const wxPoint p = wxGetMousePosition();
    return TPoint{p.x, p.y};
}

void PlatformServices::SetCursorPos(int x, int y) {
    wxWindow* target = canvas_ != nullptr ? canvas_ : window_;
    if (target == nullptr) return;
    const wxPoint client = target->ScreenToClient(wxPoint(x, y));
    target->WarpPointer(client.x, client.y);
}

void PlatformServices::ShowCursor(bool show) {
    cursorShown_ = show;
    // Applied every time: showing twice is the same as showing once.
    const wxCursor cursor = show ? wxNullCursor : wxCursor(wxCURSOR_BLANK);
    if (window_ != nullptr) window_->SetCursor(cursor);
    if (canvas_ != nullptr) canvas_->SetCursor(cursor);
}

bool PlatformServices::WindowHasFocus() {
    if (window_ == nullptr) return false;
    auto* topLevel = dynamic_cast<wxTopLevelWindow*>(window_);
    if (topLevel != nullptr && !topLevel->IsActive()) return false;
    wxWindow* focus = wxWindow::FindFocus();
    return focus != nullptr && (focus == window_ || window_->IsDescendant(focus));
}

TWindowGeometry PlatformServices::WindowGeometry() {
    TWindowGeometry g;
    if (window_ == nullptr) return g;
    const wxPoint position = window_->GetScreenPosition();
    const wxSize size = window_->GetSize();
    const wxSize client = window_->GetClientSize();
    g.left = position.x;
    g.top = position.y;
    g.width = size.GetWidth();
    g.height = size.GetHeight();
    g.clientWidth = client.GetWidth();
    g.clientHeight = client.GetHeight();
    return g;
}

int64_t PlatformServices::TickCount() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
}

bool PlatformServices::JoystickCaps(int id, TJoyCaps& caps) {
    return joystick_.Caps(id, caps);
}

bool PlatformServices::JoystickPoll(int id, TJoyInfo& info) {
    return joystick_.Poll(id, info);
}

int PlatformServices::Random(int n) {
    return random_.Random(n);
}

void PlatformServices::SeedRandomFromClock() {
    random_.Seed(GameRandom::ClockSeed());
}

}  // namespace qw
