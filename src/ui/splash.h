// The start-up splash: a borderless picture in the middle of the screen whose nine regions
// turn from dark red to yellow to green as the start-up stages finish.
//
// Primary thread only, during start-up: the state lives in splash.cpp and nothing else
// reads it.
#pragma once
#include <windows.h>

// Shows the splash picture centred on the desktop in a popup owned by owner. Nothing
// shows when the picture cannot be loaded.
void SplashShow(HWND owner);
// Called after each start-up stage: waits until 500 ms have passed since the previous
// step, turns the previous stage's region green and the current one's yellow. Calls after
// the tenth change nothing and only keep the pace.
void SplashStep();
// Turns the two finish regions cyan, shows that for a second and removes the splash.
void SplashFinish();
