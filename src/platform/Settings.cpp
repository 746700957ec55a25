#include "platform/Settings.h"

#include <wx/fileconf.h>
#include <wx/log.h>

#include <filesystem>

#include "platform/Folders.h"

namespace qw {
namespace {

// Empty when there is no home folder to keep settings in.
std::string SettingsFile() {
    bool found = false;
    const std::string config = UserConfigDir(found);
    if (!found) return {};
    return config + "/quaderwelt/settings.ini";
}

wxFileConfig OpenSettings(const std::string& file) {
    return wxFileConfig(wxEmptyString, wxEmptyString, wxString::FromUTF8(file), wxEmptyString,
                        wxCONFIG_USE_LOCAL_FILE, wxConvUTF8);
}

}  // namespace

std::string LoadSetting(const std::string& key) {
    const std::string file = SettingsFile();
    if (file.empty()) return {};
    // A damaged settings file only costs the remembered skins; wx must not
    // pop up its log window about it.
    wxLogNull quiet;
    wxFileConfig config = OpenSettings(file);
    wxString value;
    if (!config.Read(wxString::FromUTF8(key), &value)) return {};
    return std::string(value.utf8_str());
}

void SaveSetting(const std::string& key, const std::string& value) {
    const std::string file = SettingsFile();
    if (file.empty()) return;
    wxLogNull quiet;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
    wxFileConfig config = OpenSettings(file);
    config.Write(wxString::FromUTF8(key), wxString::FromUTF8(value));
    config.Flush();
}

}  // namespace qw
