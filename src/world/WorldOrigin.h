#pragma once
// Where the world in memory came from. A creative save checks it so that it
// never overwrites a file with a world that was not read from that file whole.
#include <cstdint>
#include <optional>
#include <string>

namespace qw {

// One version of one file: anyone who replaces or rewrites the file gives it
// another identity.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t mtimeNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct TWorldOrigin {
    std::string path;                   // the file this world belongs to
    std::optional<FileIdentity> file;   // the version of it read intact or last written by us
    bool readDamaged = false;           // path was read (or tried) and the world did not come whole
};

}  // namespace qw
