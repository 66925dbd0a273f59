#include <windows.h>

#include "ui/shared_gdi.h"

SharedGdiObjects SharedGdi;

static HFONT CreateReportFont(BOOL underlined)
{
    return CreateFontA(13, 0, 0, 0, FW_NORMAL, FALSE, underlined, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
}

void CreateSharedGdi()
{
    SharedGdi.yellowBrush = CreateSolidBrush(0x00FFFF);
    SharedGdi.cyanBrush = CreateSolidBrush(0xFFFF00);
    SharedGdi.magentaBrush = CreateSolidBrush(0xFF00FF);
    SharedGdi.greenBrush = CreateSolidBrush(0x00FF00);
    SharedGdi.redBrush = CreateSolidBrush(0x0000FF);
    SharedGdi.darkRedBrush = CreateSolidBrush(0x000080);
    SharedGdi.blueBrush = CreateSolidBrush(0xFF0000);
    SharedGdi.faceBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    SharedGdi.darkNavyBrush = CreateSolidBrush(0x400000);
    SharedGdi.shadowPen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    SharedGdi.normalFont = CreateReportFont(FALSE);
    SharedGdi.underlinedFont = CreateReportFont(TRUE);
}

void DeleteSharedGdi()
{
    HGDIOBJ objects[] = {SharedGdi.yellowBrush, SharedGdi.cyanBrush,     SharedGdi.magentaBrush,
                         SharedGdi.greenBrush,  SharedGdi.redBrush,      SharedGdi.darkRedBrush,
                         SharedGdi.blueBrush,   SharedGdi.faceBrush,     SharedGdi.darkNavyBrush,
                         SharedGdi.shadowPen,   SharedGdi.normalFont,    SharedGdi.underlinedFont};
    for (HGDIOBJ object : objects)
        if (object) DeleteObject(object);
    SharedGdi = SharedGdiObjects{};
}
