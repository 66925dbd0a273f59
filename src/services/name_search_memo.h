#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "services/walks.h"

// Whole-disk searches by name that remember what they found. One walk collects the hits of
// every needle of a fixed set and notes each directory it listed with its last-write time;
// a later search for any needle of the set is answered from those hits while every noted
// directory still has that time and the fixed drives are the same volumes. A file system
// changes a directory's last-write time whenever a name in it is added, removed or renamed
// (NTFS does, and Wine passes on the Unix time, which does too); FAT does not keep it, so
// with any fixed drive that is not NTFS every search walks. A directory written in the last
// two seconds is not trusted either: two changes inside one tick of the file system's
// clock can leave the same time.
class NameSearchMemo {
public:
    // Walks in the way CollectEachNameOnFixedDrives does.
    typedef void (*Walk)(const std::vector<std::string>& needles, std::vector<std::vector<std::string>>* collected,
                         DirectoryNote note, void* state);

    // needles are upper case, as CollectFilesByName matches them.
    explicit NameSearchMemo(std::vector<std::string> needles, Walk walk = CollectEachNameOnFixedDrives);

    // What CollectFilesByName with needle alone would store, in its order. A needle outside
    // the set is searched for on its own each time.
    std::vector<std::string> PathsNamed(const char* needle);

    // Whether the last PathsNamed was answered without a walk.
    bool WasRemembered() const { return isRemembered_; }

    // Drops the hits and the noted directories (and the memory they hold).
    void Forget();

private:
    struct NotedDirectory {
        std::string path;
        FILETIME written;
    };
    static void Note(const char* directory, void* state);
    // Whether the hits still hold, with the fixed drives' volumes as they are now.
    bool IsStillTrue(const std::string& volumes) const;

    std::vector<std::string> needles_;
    Walk walk_;
    std::vector<std::vector<std::string>> hits_;
    std::vector<NotedDirectory> directories_;
    std::string volumes_;
    bool isTrusted_ = false;
    bool isRemembered_ = false;
    ULONGLONG walkedAt_ = 0;
};
