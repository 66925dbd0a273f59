#include <windows.h>
#include <winternl.h>

#include "platform/system_processes.h"

#include <cstring>

namespace {

// The query's records, as the system lays them out: each process record is followed by
// its threads' records, then (somewhere inside the process's stretch) its name.
static_assert(sizeof(SYSTEM_PROCESS_INFORMATION) == (sizeof(void*) == 8 ? 256 : 184), "process record size");
static_assert(sizeof(SYSTEM_THREAD_INFORMATION) == (sizeof(void*) == 8 ? 80 : 64), "thread record size");

constexpr ULONG kSystemProcessInformation = 5;
constexpr LONG kInfoLengthMismatch = LONG(0xC0000004);

using QuerySystemInformationFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

QuerySystemInformationFn QueryFunction()
{
    static const auto query = reinterpret_cast<QuerySystemInformationFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    return query;
}

}  // namespace

bool SystemProcessList::Read()
{
    processes_.clear();
    threads_.clear();
    const QuerySystemInformationFn query = QueryFunction();
    if (!query) return false;
    if (buffer_.empty()) buffer_.resize(256 * 1024);
    // Processes can start between asking for the size and asking again: a few tries.
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(kSystemProcessInformation, buffer_.data(), ULONG(buffer_.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer_.resize(needed > buffer_.size() ? needed + needed / 4 : buffer_.size() * 2);
            continue;
        }
        if (status != 0) return false;
        // "needed" is the length written; some systems leave it 0, then all is in bounds.
        return Parse(needed != 0 && needed <= buffer_.size() ? needed : buffer_.size());
    }
    return false;
}

bool SystemProcessList::Parse(size_t length)
{
    const unsigned char* base = buffer_.data();
    auto fail = [&] {
        processes_.clear();
        threads_.clear();
        return false;
    };
    for (size_t offset = 0;;) {
        if (offset + sizeof(SYSTEM_PROCESS_INFORMATION) > length) return fail();
        SYSTEM_PROCESS_INFORMATION record;
        memcpy(&record, base + offset, sizeof record);
        const size_t threadsStart = offset + sizeof record;
        if (record.NumberOfThreads > (length - threadsStart) / sizeof(SYSTEM_THREAD_INFORMATION)) return fail();

        SystemProcess process;
        PROCESSENTRY32& entry = process.entry;
        entry.dwSize = sizeof entry;
        entry.th32ProcessID = DWORD(reinterpret_cast<ULONG_PTR>(record.UniqueProcessId));
        entry.th32ParentProcessID = DWORD(reinterpret_cast<ULONG_PTR>(record.InheritedFromUniqueProcessId));
        entry.cntThreads = record.NumberOfThreads;
        entry.pcPriClassBase = record.BasePriority;
        process.createdTime = uint64_t(record.CreateTime.QuadPart);
        // The name points into the buffer; one that points elsewhere is left empty.
        const unsigned char* name = reinterpret_cast<const unsigned char*>(record.ImageName.Buffer);
        const size_t nameLength = record.ImageName.Length;
        if (name && name >= base && name + nameLength <= base + length && nameLength >= sizeof(WCHAR)) {
            const int written = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const WCHAR*>(name),
                                                    int(nameLength / sizeof(WCHAR)), entry.szExeFile,
                                                    int(sizeof entry.szExeFile) - 1, nullptr, nullptr);
            entry.szExeFile[written > 0 ? written : 0] = '\0';
        } else if (entry.th32ProcessID == 0) {
            lstrcpynA(entry.szExeFile, "[System Process]", sizeof entry.szExeFile);  // the snapshot's name for it
        }
        processes_.push_back(process);

        for (ULONG i = 0; i < record.NumberOfThreads; ++i) {
            SYSTEM_THREAD_INFORMATION thread;
            memcpy(&thread, base + threadsStart + i * sizeof thread, sizeof thread);
            THREADENTRY32 threadEntry = {};
            threadEntry.dwSize = sizeof threadEntry;
            threadEntry.th32ThreadID = DWORD(reinterpret_cast<ULONG_PTR>(thread.ClientId.UniqueThread));
            threadEntry.th32OwnerProcessID = DWORD(reinterpret_cast<ULONG_PTR>(thread.ClientId.UniqueProcess));
            threadEntry.tpBasePri = thread.BasePriority;
            threads_.push_back(threadEntry);
        }
        if (record.NextEntryOffset == 0) return true;
        if (record.NextEntryOffset < sizeof record) return fail();  // would not move on
        offset += record.NextEntryOffset;
    }
}
