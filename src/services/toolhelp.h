#pragma once
#include <windows.h>
#include <tlhelp32.h>

// The toolhelp entry points, looked up in KERNEL32 once at start-up by LoadToolhelp. A
// missing export leaves its pointer null. Structures passed to them set their size field
// to sizeof the structure of this build.
namespace th {
using CreateToolhelp32SnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using Process32Fn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
using Thread32Fn = BOOL(WINAPI*)(HANDLE, THREADENTRY32*);
using Module32Fn = BOOL(WINAPI*)(HANDLE, MODULEENTRY32*);
using Heap32ListFn = BOOL(WINAPI*)(HANDLE, HEAPLIST32*);
using Heap32FirstFn = BOOL(WINAPI*)(HEAPENTRY32*, DWORD, ULONG_PTR);
using Heap32NextFn = BOOL(WINAPI*)(HEAPENTRY32*);
using ReadProcessMemoryFn = BOOL(WINAPI*)(DWORD, LPCVOID, LPVOID, SIZE_T, SIZE_T*);

extern CreateToolhelp32SnapshotFn CreateToolhelp32Snapshot;
extern Process32Fn Process32First;
extern Process32Fn Process32Next;
extern Thread32Fn Thread32First;
extern Thread32Fn Thread32Next;
extern Module32Fn Module32First;
extern Module32Fn Module32Next;
extern Heap32ListFn Heap32ListFirst;
extern Heap32ListFn Heap32ListNext;
extern Heap32FirstFn Heap32First;
extern Heap32NextFn Heap32Next;
extern ReadProcessMemoryFn Toolhelp32ReadProcessMemory;
}  // namespace th

void LoadToolhelp();
