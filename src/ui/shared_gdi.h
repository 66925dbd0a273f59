// The brushes, pen and fonts every report list and picture button paints with. Created
// once at start-up on the primary thread before any window shows, deleted at exit;
// painters select them and never delete them.
#pragma once
#include <windows.h>

struct SharedGdiObjects {
    HBRUSH yellowBrush;    // 0x00FFFF
    HBRUSH cyanBrush;      // 0xFFFF00
    HBRUSH magentaBrush;   // 0xFF00FF
    HBRUSH greenBrush;     // 0x00FF00
    HBRUSH redBrush;       // 0x0000FF
    HBRUSH darkRedBrush;   // 0x000080
    HBRUSH blueBrush;      // 0xFF0000
    HBRUSH faceBrush;      // the button-face colour
    HBRUSH darkNavyBrush;  // 0x400000
    HPEN shadowPen;        // the button-shadow colour, width 1
    HFONT normalFont;      // "MS Sans Serif", 13 pixels
    HFONT underlinedFont;  // the same, underlined
};

extern SharedGdiObjects SharedGdi;

void CreateSharedGdi();
// Deletes all twelve objects and clears the handles.
void DeleteSharedGdi();
