#include "platform/Settings.h"

#include <gtest/gtest.h>

#include <wx/init.h>

#include <fstream>

#include "TestEnvironment.h"

namespace qw {
namespace {

namespace fs = std::filesystem;

class SettingsTest : public testing::Test {
protected:
    void SetUp() override {
        env.Set("HOME", (dir.path() / "home").string());
        env.Unset("XDG_CONFIG_HOME");
    }
    wxInitializer wx;
    test::ScopedEnv env;
    test::TempDir dir;
};

TEST_F(SettingsTest, RoundTripInTheXdgConfigFolder) {
    const fs::path config = dir.path() / "cfg";
    env.Set("XDG_CONFIG_HOME", config.string());
    EXPECT_EQ(LoadSetting("PlayerSkin"), "");

    SaveSetting("PlayerSkin", "/home/anna/Skins/Steve Ärger.png");
    SaveSetting("OpponentSkin", "  C:\\alt\\\"gegner\".png ; # = [x]  ");
    EXPECT_TRUE(fs::exists(config / "quaderwelt" / "settings.ini"));
    EXPECT_EQ(LoadSetting("PlayerSkin"), "/home/anna/Skins/Steve Ärger.png");
    EXPECT_EQ(LoadSetting("OpponentSkin"), "  C:\\alt\\\"gegner\".png ; # = [x]  ");

    SaveSetting("PlayerSkin", "");
    EXPECT_EQ(LoadSetting("PlayerSkin"), "");
    EXPECT_EQ(LoadSetting("OpponentSkin"), "  C:\\alt\\\"gegner\".png ; # = [x]  ");
}

TEST_F(SettingsTest, DefaultsToDotConfigUnderHome) {
    SaveSetting("PlayerSkin", "a.png");
    EXPECT_TRUE(fs::exists(dir.path() / "home" / ".config" / "quaderwelt" / "settings.ini"));
    EXPECT_EQ(LoadSetting("PlayerSkin"), "a.png");
}

TEST_F(SettingsTest, UnwritableFolderLosesTheSettingQuietly) {
    env.Set("XDG_CONFIG_HOME", (dir.path() / "datei").string());
    std::ofstream(dir.path() / "datei") << "a file where a folder should be";
    SaveSetting("PlayerSkin", "a.png");
    EXPECT_EQ(LoadSetting("PlayerSkin"), "");
}

}  // namespace
}  // namespace qw
