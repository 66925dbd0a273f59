// Window rules the main dialog and the status report share: the size limit and the
// captioned picture buttons.
#pragma once
#include <windows.h>

// Neither dialog grows beyond this many pixels.
constexpr int kDialogMaxWidth = 598;
constexpr int kDialogMaxHeight = 493;

// For WM_GETMINMAXINFO and WM_WINDOWPOSCHANGING: caps the maximised and tracking size, or
// the new size, at kDialogMaxWidth x kDialogMaxHeight. True when message was one of them.
bool LimitDialogSize(UINT message, LPARAM lParam);

// Paints an owner-drawn button with its bitmap (DrawPictureButton); a button whose bitmap
// is not among the program's resources shows its caption on the face instead.
void DrawCaptionedButton(const DRAWITEMSTRUCT* item, HBRUSH brush, int bitmapId);
