#pragma once
#include <windows.h>

// The start-up splash: shown, stepped once per start-up stage, finished.
void SplashShow(HWND owner);
void SplashStep();
void SplashFinish();
