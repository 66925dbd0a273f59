// Quick Help: help texts word-wrapped into plain list boxes, and the modal Quick Help
// dialog that explains one report line.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

// Adds text (length bytes, a NUL ends it earlier) to the list, word-wrapped to the list's
// width in the list's own font (WrapHelpText), with redrawing off meanwhile. Does not
// empty the list first.
void HelpTextShow(HWND list, const char* text, size_t length);

// The RCDATA help text helpId of the program's own module, up to its NUL; empty when the
// resource is missing.
std::string HelpTextResource(UINT helpId);

// Adds the RCDATA help text helpId of the program's own module to the list, word-wrapped.
// A missing resource adds only the closing spacer item.
void HelpTextLoad(HWND list, UINT helpId);

// Opens the modal Quick Help dialog over the main dialog, fills it with help text helpId
// and selects the paragraph that explains the report line topic (SelectReportLine).
void ShowQuickHelpTopic(const char* topic, UINT helpId);
