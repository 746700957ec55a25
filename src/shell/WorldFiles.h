#pragma once
// The world files of the data folder as the start dialog sees them: listing,
// deleting and renaming. No wxWidgets here, so the rules can be tested on a
// temporary folder.
#include <string>
#include <vector>

namespace qw {

// Names of the regular "*.lev" files in folder (ending in "/"), in the order
// the directory returns them. Directories, FIFOs and other special files are
// left out; an unreadable or missing folder gives an empty list.
std::vector<std::string> ListWorldFiles(const std::string& folder);

// Removes folder + entry. False when the file could not be removed.
bool DeleteWorldFile(const std::string& folder, const std::string& entry);

// The name the rename dialog proposes: the entry without its last four
// characters (the ".lev").
std::string RenameProposal(const std::string& entry);

enum class TRenameResult {
    Unchanged,  // the new name was the full entry text: nothing was done
    Renamed,    // the file now is folder + newName + ".lev"
    Failed,     // target exists, name not allowed or source missing
};

// Moves folder + entry to folder + newName + ".lev" without ever replacing an
// existing file. Names with "/" or NUL would leave the folder and fail.
TRenameResult RenameWorldFile(const std::string& folder, const std::string& entry,
                              const std::string& newName);

}  // namespace qw
