// The walks over the fixed drives. They pass full paths to FindFirstFileA rather than
// changing directory at each step, and set the current directory only to each drive's root
// as they begin it, so they leave it where a walk that changed directory would.
#include <windows.h>

#include "services/walks.h"

#include <cstring>
#include <string>

#include "services/alloc.h"
#include "services/drives.h"

// A directory entry the walks go into: not ".", "..", a hidden dot-folder or a link. Links
// are left alone so a link back to an ancestor cannot make a walk go round for ever (Wine
// marks a Unix symbolic link to a directory as a reparse point too).
static bool IsWalkedDirectory(const WIN32_FIND_DATAA& found)
{
    return found.cFileName[0] != '\0' && found.cFileName[0] != '.' &&
           (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// What a depth-first walk does in each directory: once on entering it (found null), then
// once per entry.
typedef void (*DepthStep)(const char* directory, const WIN32_FIND_DATAA* found, void* state);

// Visits directory, then each of its subdirectories in listing order. pending holds the
// names of subdirectories not yet visited, NUL-separated; each level appends its own and
// cuts them off again before it returns, so one listing per directory is enough.
static void VisitDepthFirst(const char* directory, DepthStep step, void* state, std::string* pending)
{
    step(directory, nullptr, state);
    char search[kWalkPathLength];
    if (!JoinWalkPath(directory, "*.*", search)) return;
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA(search, &found);
    if (listing == INVALID_HANDLE_VALUE) return;
    const size_t mark = pending->size();
    do {
        step(directory, &found, state);
        if (IsWalkedDirectory(found)) pending->append(found.cFileName, strlen(found.cFileName) + 1);
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
    for (size_t at = mark; at < pending->size();) {
        char child[kWalkPathLength];
        const size_t next = at + strlen(pending->c_str() + at) + 1;
        if (JoinWalkDirectory(directory, pending->c_str() + at, child)) VisitDepthFirst(child, step, state, pending);
        at = next;
    }
    pending->resize(mark);
}

static void WalkDrivesDepthFirst(DepthStep step, void* state)
{
    std::string pending;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        if (!IsFixedDrive(letter)) continue;
        const char root[] = {letter, ':', '\\', '\0'};
        SetCurrentDirectoryA(root);
        VisitDepthFirst(root, step, state, &pending);
    }
}

struct MatchCount {
    const char* pattern;
    int count;
};

static void CountMatchStep(const char* directory, const WIN32_FIND_DATAA* found, void* state)
{
    if (found) return;
    MatchCount* match = static_cast<MatchCount*>(state);
    char search[kWalkPathLength];
    if (!WalkSearchPattern(directory, match->pattern, search)) return;
    WIN32_FIND_DATAA first;
    HANDLE listing = FindFirstFileA(search, &first);
    if (listing == INVALID_HANDLE_VALUE) return;
    FindClose(listing);
    ++match->count;
}

int CountDirsWithMatch(const char* pattern)
{
    MatchCount match = {pattern, 0};
    WalkDrivesDepthFirst(CountMatchStep, &match);
    return match.count;
}

// The entry's long name in upper case, as the collections match needles against it.
static void UpperNameOf(const WIN32_FIND_DATAA& found, char (&upper)[MAX_PATH])
{
    lstrcpynA(upper, found.cFileName, sizeof upper);
    CharUpperA(upper);
}

// The path a collection stores for an entry: its directory and its 8.3 name, or its
// upper-cased long name when it has none. False when the path does not fit a slot.
static bool CollectedPathOf(const char* directory, const WIN32_FIND_DATAA& found, const char* upper, char* path)
{
    return JoinWalkPath(directory, found.cAlternateFileName[0] ? found.cAlternateFileName : upper, path);
}

struct NameCollection {
    char (*out)[kWalkPathLength];
    const char (*needles)[kWalkPathLength];
    int needleCount;
    int count;
};

static void CollectNameStep(const char* directory, const WIN32_FIND_DATAA* found, void* state)
{
    if (!found) return;
    NameCollection* collection = static_cast<NameCollection*>(state);
    char upper[MAX_PATH];
    UpperNameOf(*found, upper);
    if (FirstNeedleIn(upper, collection->needles, collection->needleCount) < 0) return;
    char path[kWalkPathLength];
    if (!CollectedPathOf(directory, *found, upper, path)) return;
    collection->count = StoreCollectedPath(collection->out, collection->count, path);
}

int CollectFilesByName(char (*out)[kWalkPathLength], const char (*needles)[kWalkPathLength], int needleCount)
{
    NameCollection collection = {out, needles, needleCount, 0};
    WalkDrivesDepthFirst(CollectNameStep, &collection);
    return collection.count;
}

struct EachNameCollection {
    const std::vector<std::string>* needles;
    std::vector<std::vector<std::string>>* collected;
    DirectoryNote note;
    void* state;
};

static void CollectEachNameStep(const char* directory, const WIN32_FIND_DATAA* found, void* state)
{
    EachNameCollection* collection = static_cast<EachNameCollection*>(state);
    if (!found) {
        if (collection->note) collection->note(directory, collection->state);
        return;
    }
    char upper[MAX_PATH];
    UpperNameOf(*found, upper);
    char path[kWalkPathLength] = {};
    for (size_t i = 0; i < collection->needles->size(); ++i) {
        if (!strstr(upper, (*collection->needles)[i].c_str())) continue;
        std::vector<std::string>& hits = (*collection->collected)[i];
        if (hits.size() >= size_t(kCollectSlotCount - 1)) continue;
        if (!path[0] && !CollectedPathOf(directory, *found, upper, path)) return;
        hits.push_back(path);
    }
}

void CollectEachNameOnFixedDrives(const std::vector<std::string>& needles,
                                  std::vector<std::vector<std::string>>* collected, DirectoryNote note, void* state)
{
    collected->assign(needles.size(), std::vector<std::string>());
    EachNameCollection collection = {&needles, collected, note, state};
    WalkDrivesDepthFirst(CollectEachNameStep, &collection);
}

void CollectEachNameUnder(const char* root, const std::vector<std::string>& needles,
                          std::vector<std::vector<std::string>>* collected, DirectoryNote note, void* state)
{
    collected->assign(needles.size(), std::vector<std::string>());
    EachNameCollection collection = {&needles, collected, note, state};
    std::string pending;
    VisitDepthFirst(root, CollectEachNameStep, &collection, &pending);
}

// Breadth-first over one drive with a queue of directory paths that grows by one slot per
// directory found. Returns the visitor's stopping value, or 0 when the drive is done or
// the queue could not grow (outOfMemory set).
static int WalkDriveBreadthFirst(char letter, WalkVisitor visitor, void* argument, bool* outOfMemory)
{
    typedef char Slot[kWalkPathLength];
    Slot* queue = static_cast<Slot*>(AllocChecked(GPTR, kWalkPathLength));
    const char root[] = {letter, ':', '\\', '\0'};
    lstrcpynA(queue[0], root, kWalkPathLength);
    int queued = 1;
    int stop = 0;
    for (int index = 0; index < queued && stop == 0; ++index) {
        char search[kWalkPathLength];
        if (!JoinWalkPath(queue[index], "*.*", search)) continue;
        WIN32_FIND_DATAA found;
        HANDLE listing = FindFirstFileA(search, &found);
        if (listing == INVALID_HANDLE_VALUE) continue;
        do {
            char child[kWalkPathLength];
            if (IsWalkedDirectory(found) && JoinWalkDirectory(queue[index], found.cFileName, child)) {
                HGLOBAL grown = GlobalReAlloc(queue, SIZE_T(queued + 1) * kWalkPathLength, GMEM_MOVEABLE | GMEM_ZEROINIT);
                if (!grown) {
                    FindClose(listing);
                    GlobalFree(queue);
                    *outOfMemory = true;
                    return 0;
                }
                queue = static_cast<Slot*>(grown);
                lstrcpynA(queue[queued++], child, kWalkPathLength);
            }
            stop = visitor(&found, queue[index], argument);
        } while (stop == 0 && FindNextFileA(listing, &found));
        FindClose(listing);
    }
    GlobalFree(queue);
    return stop;
}

int WalkFixedDrives(WalkVisitor visitor, void* argument)
{
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        if (!IsFixedDrive(letter)) continue;
        bool outOfMemory = false;
        int stop = WalkDriveBreadthFirst(letter, visitor, argument, &outOfMemory);
        if (stop != 0 || outOfMemory) return stop;
    }
    return 0;
}
