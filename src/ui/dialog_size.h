// The window rule the main dialog and the status report share: their size limit.
#pragma once
#include <windows.h>

// Neither dialog grows beyond this many pixels.
constexpr int kDialogMaxWidth = 598;
constexpr int kDialogMaxHeight = 493;

// For WM_GETMINMAXINFO and WM_WINDOWPOSCHANGING: caps the maximised and tracking size, or
// the new size, at kDialogMaxWidth x kDialogMaxHeight. True when message was one of them.
bool LimitDialogSize(UINT message, LPARAM lParam);
