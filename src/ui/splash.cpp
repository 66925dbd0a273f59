#include <windows.h>

#include "ui/splash.h"

void SplashShow(HWND owner)
{
    // The splash is not built yet.
}

void SplashStep()
{
}

void SplashFinish()
{
}
