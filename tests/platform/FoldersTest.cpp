#include "platform/Folders.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TestEnvironment.h"

namespace qw {
namespace {

namespace fs = std::filesystem;

class FoldersTest : public testing::Test {
protected:
    void SetUp() override {
        home = dir.path() / "home";
        fs::create_directories(home);
        env.Set("HOME", home.string());
        env.Unset("XDG_DATA_HOME");
        env.Unset("XDG_CONFIG_HOME");
    }
    void WriteUserDirs(const fs::path& configDir, const std::string& text) {
        fs::create_directories(configDir);
        std::ofstream(configDir / "user-dirs.dirs") << text;
    }

    test::ScopedEnv env;
    test::TempDir dir;
    fs::path home;
};

TEST_F(FoldersTest, AppDataFollowsXdgDataHomeElseHome) {
    bool found = false;
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_APPDATA, found), home.string() + "/.local/share");
    EXPECT_TRUE(found);

    env.Set("XDG_DATA_HOME", (dir.path() / "data").string());
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_APPDATA, found), (dir.path() / "data").string());
    EXPECT_TRUE(found);

    // Relative values are ignored, as the XDG rules say.
    env.Set("XDG_DATA_HOME", "relativ/data");
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_APPDATA, found), home.string() + "/.local/share");
}

TEST_F(FoldersTest, UnknownFolderNumberIsNotFound) {
    bool found = true;
    EXPECT_EQ(GetSpecialFolderPath(5, found), "");
    EXPECT_FALSE(found);
}

TEST_F(FoldersTest, DataFolderIsMadeOnlyWhenAsked) {
    bool found = false;
    const std::string expected = home.string() + "/.local/share/Korland/Quaderwelt 1/";

    EXPECT_EQ(DataFolderPath("/opt/quaderwelt/", false, found), expected);
    EXPECT_TRUE(found);
    EXPECT_FALSE(fs::exists(home / ".local"));

    EXPECT_EQ(DataFolderPath("/opt/quaderwelt/", true, found), expected);
    EXPECT_TRUE(fs::is_directory(expected));

    // A second call finds it there and is content.
    EXPECT_EQ(DataFolderPath("/opt/quaderwelt/", true, found), expected);
}

TEST_F(FoldersTest, DataFolderThatCannotBeMadeIsStillReturned) {
    env.Set("XDG_DATA_HOME", (dir.path() / "datei").string());
    std::ofstream(dir.path() / "datei") << "a file where a folder should be";
    bool found = false;
    EXPECT_EQ(DataFolderPath("/opt/quaderwelt/", true, found), (dir.path() / "datei").string() + "/Korland/Quaderwelt 1/");
    EXPECT_TRUE(found);
}

TEST_F(FoldersTest, PicturesFolderComesFromUserDirs) {
    bool found = false;
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_MYPICTURES, found), home.string() + "/Pictures");
    EXPECT_TRUE(found);

    WriteUserDirs(home / ".config", "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_MYPICTURES, found), home.string() + "/Bilder");

    const fs::path config = dir.path() / "config";
    env.Set("XDG_CONFIG_HOME", config.string());
    WriteUserDirs(config, "XDG_PICTURES_DIR=\"/srv/fotos\"\n");
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_MYPICTURES, found), "/srv/fotos");
}

TEST_F(FoldersTest, UserDirsThatIsNoFileIsIgnored) {
    fs::create_directories(home / ".config" / "user-dirs.dirs");
    bool found = false;
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_MYPICTURES, found), home.string() + "/Pictures");
}

TEST_F(FoldersTest, HomeFromThePasswordDatabaseWhenUnset) {
    env.Unset("HOME");
    bool found = false;
    const std::string appData = GetSpecialFolderPath(CSIDL_APPDATA, found);
    // The test may run as any user; whatever the database gives, it is
    // absolute and under it lies .local/share.
    if (found) {
        EXPECT_EQ(appData.front(), '/');
        EXPECT_TRUE(appData.ends_with("/.local/share"));
    }
}

TEST(ExecutableDirTest, IsTheFolderOfThisTestProgram) {
    const std::string folder = ExecutableDir();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(fs::exists(fs::path(folder) / "platform_tests"));
}

}  // namespace
}  // namespace qw
