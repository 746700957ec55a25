#include "shell/WorldFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TempFolder.h"

namespace qw {
namespace {

namespace fs = std::filesystem;

class WorldFilesTest : public ::testing::Test {
protected:
    void Write(const std::string& name, const std::string& content) {
        std::ofstream(folder.Path() + name, std::ios::binary) << content;
    }
    std::string Read(const std::string& name) {
        std::ifstream in(folder.Path() + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool Exists(const std::string& name) { return fs::exists(folder.Path() + name); }
    std::vector<std::string> Listed() {
        std::vector<std::string> names = ListWorldFiles(folder.Path());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempFolder folder;
};

TEST_F(WorldFilesTest, ListsOnlyRegularLevFilesWithTheirExtension) {
    Write("Alpha.lev", "a");
    Write(".lev", "unnamed world");  // what an empty new-world name gives
    Write("notes.txt", "n");
    Write("Alpha.lev.bak", "b");
    ASSERT_EQ(mkfifo((folder.Path() + "Pipe.lev").c_str(), 0600), 0);
    fs::create_directory(folder.Path() + "Ordner.lev");
    fs::create_symlink(folder.Path() + "Alpha.lev", folder.Path() + "Link.lev");
    fs::create_symlink(folder.Path() + "Pipe.lev", folder.Path() + "PipeLink.lev");
    fs::create_symlink(folder.Path() + "missing", folder.Path() + "Dangling.lev");

    EXPECT_EQ(Listed(), (std::vector<std::string>{".lev", "Alpha.lev", "Link.lev"}));
}

TEST_F(WorldFilesTest, MissingFolderGivesEmptyList) {
    EXPECT_TRUE(ListWorldFiles(folder.Path() + "nowhere/").empty());
}

TEST_F(WorldFilesTest, DeleteRemovesTheFileAndReportsFailure) {
    Write("Alpha.lev", "a");
    EXPECT_TRUE(DeleteWorldFile(folder.Path(), "Alpha.lev"));
    EXPECT_FALSE(Exists("Alpha.lev"));
    EXPECT_FALSE(DeleteWorldFile(folder.Path(), "Alpha.lev"));
}

TEST_F(WorldFilesTest, ProposalDropsTheExtension) {
    EXPECT_EQ(RenameProposal("Neue Welt.lev"), "Neue Welt");
    EXPECT_EQ(RenameProposal(".lev"), "");
}

TEST_F(WorldFilesTest, RenameMovesTheWorldUnderTheNewName) {
    Write("Alpha.lev", "world a");
    EXPECT_EQ(RenameWorldFile(folder.Path(), "Alpha.lev", "Beta"), TRenameResult::Renamed);
    EXPECT_FALSE(Exists("Alpha.lev"));
    EXPECT_EQ(Read("Beta.lev"), "world a");
}

TEST_F(WorldFilesTest, RenameOntoAnExistingWorldIsRefusedAndLosesNothing) {
    Write("Alpha.lev", "world a");
    Write("Beta.lev", "world b");
    EXPECT_EQ(RenameWorldFile(folder.Path(), "Alpha.lev", "Beta"), TRenameResult::Failed);
    EXPECT_EQ(Read("Alpha.lev"), "world a");
    EXPECT_EQ(Read("Beta.lev"), "world b");
}

TEST_F(WorldFilesTest, RenameOntoADirectoryIsRefused) {
    Write("Alpha.lev", "world a");
    fs::create_directory(folder.Path() + "Ordner.lev");
    EXPECT_EQ(RenameWorldFile(folder.Path(), "Alpha.lev", "Ordner"), TRenameResult::Failed);
    EXPECT_EQ(Read("Alpha.lev"), "world a");
}

TEST_F(WorldFilesTest, ConfirmingTheProposalKeepsTheWorld) {
    Write("Alpha.lev", "world a");
    EXPECT_EQ(RenameWorldFile(folder.Path(), "Alpha.lev", "Alpha"), TRenameResult::Renamed);
    EXPECT_EQ(Read("Alpha.lev"), "world a");
}

TEST_F(WorldFilesTest, FullEntryTextAsNewNameDoesNothing) {
    Write("Alpha.lev", "world a");
    EXPECT_EQ(RenameWorldFile(folder.Path(), "Alpha.lev", "Alpha.lev"), TRenameResult::Unchanged);
    EXPECT_EQ(Read("Alpha.lev"), "world a");
    EXPECT_FALSE(Exists("Alpha.lev.lev"));
}

TEST_F(WorldFilesTest, NamesThatLeaveTheFolderAreRefused) {
    fs::create_directory(folder.Path() + "sub");
    Write("Alpha.lev", "world a");
    EXPECT_EQ(RenameWorldFile(folder.Path(), "Alpha.lev", "sub/Beta"), TRenameResult::Failed);
    EXPECT_EQ(RenameWorldFile(folder.Path(), "Alpha.lev", "../Beta"), TRenameResult::Failed);
    EXPECT_EQ(RenameWorldFile(folder.Path(), "Alpha.lev", std::string("Be\0ta", 5)), TRenameResult::Failed);
    EXPECT_EQ(Read("Alpha.lev"), "world a");
    EXPECT_FALSE(Exists("sub/Beta.lev"));
    EXPECT_FALSE(Exists("Be.lev"));
}

TEST_F(WorldFilesTest, RenamingAMissingWorldFails) {
    EXPECT_EQ(RenameWorldFile(folder.Path(), "Gone.lev", "Beta"), TRenameResult::Failed);
    EXPECT_EQ(RenameWorldFile(folder.Path(), "Gone.lev", "Gone"), TRenameResult::Failed);
    EXPECT_FALSE(Exists("Beta.lev"));
}

}  // namespace
}  // namespace qw
