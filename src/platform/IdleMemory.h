#pragma once
// Gives memory back that the game holds but no longer uses.
#include <cstddef>
#include <string>

namespace qw {

// Returns the free pages of the heap to the system and drops the resident
// code pages of the renderer's shader compiler (LLVM, which Mesa's software
// renderer and several GPU drivers use). The compiler touches tens of
// megabytes of its code while it builds the shaders of a new sight and then
// sits idle; its pages stay in the page cache and come back by themselves
// when a shader has to be built again.
void ReleaseIdleMemory();

// Drops the resident pages of the executable, never written mappings of the
// libraries whose file name starts with `fileNamePrefix`. Returns how many
// bytes of mappings it advised.
size_t ReleaseLibraryCode(const std::string& fileNamePrefix);

// The process's resident bytes, 0 when they cannot be read.
size_t ResidentBytes();

// Checked after every frame: the first check, and every one that finds the
// resident size grown by more than `growth` since the last release (a frame
// built shaders, say), gives idle memory back.
class TIdleMemoryWatch {
public:
    explicit TIdleMemoryWatch(size_t growth) : growth_(growth) {}
    // True when it released memory.
    bool Check();

private:
    size_t growth_;
    size_t baseline_ = 0;
};

}  // namespace qw
