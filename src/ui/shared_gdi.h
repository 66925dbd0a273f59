#pragma once
#include <windows.h>

// The brushes, pen and fonts every report list and picture button paints with.
void CreateSharedGdi();
void DeleteSharedGdi();
