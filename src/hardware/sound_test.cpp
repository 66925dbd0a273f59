// The sound card test: noise on the right channel, the left channel or both, from the wave
// files that ship beside the program. One test at a time; its window handle is the static
// below, used on the primary thread only.
#include <windows.h>
#include <mmsystem.h>

#include "app/app_globals.h"
#include "hardware/hardware_tests.h"
#include "resources/ids_hardware.h"
#include "services/paths.h"
#include "services/program_directory.h"
#include "services/window_position.h"

namespace {

HWND gSoundTest;

struct Channel {
    int buttonId;
    const char* fileName;
};

const Channel kChannels[] = {
    {IDC_SOUND_RIGHT, "r_noise.wav"},
    {IDC_SOUND_LEFT, "l_noise.wav"},
    {IDC_SOUND_STEREO, "b_noise.wav"},
};

void StopNoise()
{
    PlaySoundA(nullptr, nullptr, 0);
}

// Plays the file over and over until stopped, without waiting. A missing file plays
// nothing and says nothing: no default sound, no box.
void PlayNoise(const char* fileName)
{
    char folder[MAX_PATH];
    char path[MAX_PATH];
    ProgramDirectory(nullptr, folder, sizeof folder);
    if (!JoinPath(folder, fileName, path, sizeof path)) {
        StopNoise();
        return;
    }
    PlaySoundA(path, nullptr, SND_FILENAME | SND_ASYNC | SND_LOOP | SND_NODEFAULT);
}

void OnCommand(HWND dialog, int id)
{
    for (const Channel& channel : kChannels)
        if (channel.buttonId == id) PlayNoise(channel.fileName);
    if (id == IDOK || id == IDCANCEL) DestroyWindow(dialog);
}

INT_PTR CALLBACK SoundTestDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        StopNoise();
        if (gSoundTest == dialog) gSoundTest = nullptr;
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void StartSoundTest(HWND owner)
{
    if (gSoundTest && IsWindow(gSoundTest)) {
        SetForegroundWindow(gSoundTest);
        return;
    }
    HINSTANCE instance = gInstance ? gInstance : GetModuleHandleA(nullptr);
    gSoundTest = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_SOUND_TEST), owner, SoundTestDlgProc, 0);
    if (gSoundTest) ShowWindow(gSoundTest, SW_SHOW);
}
