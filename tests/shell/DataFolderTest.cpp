#include "shell/DataFolder.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include "TempFolder.h"
#include "platform/Folders.h"

namespace qw {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class DataFolderTest : public ::testing::Test {
protected:
    test::TempFolder home;
    std::unique_ptr<TGameState> state = std::make_unique<TGameState>();
};

TEST_F(DataFolderTest, WithoutCreateNothingIsMade) {
    ScopedEnv data("XDG_DATA_HOME", (home.Path() + "data").c_str());
    const std::string folder = LocateDataFolder(*state, false);
    EXPECT_EQ(folder, home.Path() + "data/Korland/Quaderwelt 1/");
    EXPECT_TRUE(state->wasfound);
    EXPECT_FALSE(fs::exists(home.Path() + "data"));
}

TEST_F(DataFolderTest, CreateMakesTheWholeChain) {
    ScopedEnv data("XDG_DATA_HOME", (home.Path() + "data").c_str());
    const std::string folder = LocateDataFolder(*state, true);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(LocateDataFolder(*state, true), folder);  // a second call finds it in place
}

TEST_F(DataFolderTest, FallsBackToHomeLocalShare) {
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    std::string homeDir = home.Path();
    homeDir.pop_back();  // HOME has no trailing "/"
    ScopedEnv homeVariable("HOME", homeDir.c_str());
    EXPECT_EQ(LocateDataFolder(*state, false), home.Path() + ".local/share/Korland/Quaderwelt 1/");
    EXPECT_TRUE(state->wasfound);
}

// Without any application-data folder the worlds live in the program folder,
// and nothing is created whatever create says. Only a user without a home
// folder has none, so the check runs in a child that becomes such a user.
TEST_F(DataFolderTest, WithoutApplicationDataUsesTheProgramFolder) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to become a user without a home folder";
    uid_t nobodyAtAll = 54321;
    while (getpwuid(nobodyAtAll) != nullptr) ++nobodyAtAll;
    EXPECT_EXIT(
        {
            unsetenv("HOME");
            unsetenv("XDG_DATA_HOME");
            if (setuid(nobodyAtAll) != 0) std::_Exit(2);
            state->wasfound = true;
            const std::string folder = LocateDataFolder(*state, true);
            const bool ok = folder == ExecutableDir() && !state->wasfound &&
                            !fs::exists(ExecutableDir() + "Korland");
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace qw
