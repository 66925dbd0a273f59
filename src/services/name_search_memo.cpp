#include <windows.h>

#include "services/name_search_memo.h"

#include <cstdio>
#include <utility>

#include "services/drives.h"

namespace {

// Two seconds in FILETIME units (100 ns).
constexpr ULONGLONG kUnsettledSpan = 20000000ull;

ULONGLONG Ticks(const FILETIME& time)
{
    return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

ULONGLONG Now()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return Ticks(now);
}

// Every fixed drive's letter and volume serial number, or empty when one of them is not
// NTFS or cannot be asked.
std::string NtfsVolumes()
{
    std::string volumes;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        if (!IsFixedDrive(letter)) continue;
        const char root[] = {letter, ':', '\\', '\0'};
        DWORD serial = 0;
        char system[16] = {};
        if (!GetVolumeInformationA(root, nullptr, 0, &serial, nullptr, nullptr, system, sizeof system) ||
            lstrcmpiA(system, "NTFS") != 0)
            return std::string();
        char entry[16];
        snprintf(entry, sizeof entry, "%c%08lX;", letter, static_cast<unsigned long>(serial));
        volumes += entry;
    }
    return volumes;
}

}  // namespace

NameSearchMemo::NameSearchMemo(std::vector<std::string> needles, Walk walk) : needles_(std::move(needles)), walk_(walk) {}

void NameSearchMemo::Forget()
{
    std::vector<std::vector<std::string>>().swap(hits_);
    std::vector<NotedDirectory>().swap(directories_);
    volumes_.clear();
    isTrusted_ = false;
}

void NameSearchMemo::Note(const char* directory, void* state)
{
    NameSearchMemo* memo = static_cast<NameSearchMemo*>(state);
    if (!memo->isTrusted_) return;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(directory, GetFileExInfoStandard, &data) ||
        Ticks(data.ftLastWriteTime) + kUnsettledSpan > memo->walkedAt_) {
        memo->isTrusted_ = false;
        std::vector<NotedDirectory>().swap(memo->directories_);
        return;
    }
    memo->directories_.push_back({directory, data.ftLastWriteTime});
}

bool NameSearchMemo::IsStillTrue(const std::string& volumes) const
{
    if (!isTrusted_ || volumes != volumes_) return false;
    for (const NotedDirectory& directory : directories_) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(directory.path.c_str(), GetFileExInfoStandard, &data) ||
            Ticks(data.ftLastWriteTime) != Ticks(directory.written))
            return false;
    }
    return true;
}

std::vector<std::string> NameSearchMemo::PathsNamed(const char* needle)
{
    size_t index = 0;
    while (index < needles_.size() && needles_[index] != needle) ++index;
    if (index == needles_.size()) {
        std::vector<std::vector<std::string>> alone;
        walk_({needle}, &alone, nullptr, nullptr);
        isRemembered_ = false;
        return alone.empty() ? std::vector<std::string>() : alone[0];
    }
    const std::string volumes = NtfsVolumes();
    isRemembered_ = IsStillTrue(volumes);
    if (!isRemembered_) {
        Forget();
        volumes_ = volumes;
        isTrusted_ = !volumes_.empty();
        walkedAt_ = Now();
        walk_(needles_, &hits_, Note, this);
    }
    return hits_[index];
}
