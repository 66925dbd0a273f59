// Report text: one line of a report is cut at tabs into fields, field i is drawn at
// column i, and each field may start with markup that picks a colour, the underlined font
// or a small graphic (bars, lamps, level cells). This file turns a line into drawing
// commands; the report list's painter carries them out with GDI.
#pragma once
#include <cstddef>
#include <cstdint>

#include "services/report_slot.h"

// Markup at the start of a field, as string literals so that fixed lines and printf
// formats spell it by name: adjacent literals join, as in
// REPORT_CAPTION "RAM\t" REPORT_VALUE "%s". Optionally first the underline prefix, then
// at most one code.
#define REPORT_MARK_UNDERLINE "\x06"  // prefix: underlined font
#define REPORT_MARK_BRIGHT "\x01"     // then a colour letter
#define REPORT_MARK_DARK "\x02"       // then a colour letter
#define REPORT_MARK_GREY "\x03"       // the system's grey-text colour, then the text
#define REPORT_MARK_RGB "\x04"        // then three bytes r, g, b

// The bright colours by what they mark on the black report background.
#define REPORT_CAPTION REPORT_MARK_BRIGHT "C"                // cyan: captions and labels
#define REPORT_VALUE REPORT_MARK_BRIGHT "Y"                  // values ("Y" draws white)
#define REPORT_WARNING REPORT_MARK_BRIGHT "R"                // red: warnings and failures
#define REPORT_HEADING REPORT_MARK_UNDERLINE REPORT_CAPTION  // underlined cyan: table headings

// Graphic fields for a FormatReportLine format, each drawn from the line's one number: a
// wedge ("#") or striped ("%") bar of two digits at most, a row of five file-change lamps
// for a drive index (0 = C:), a row of that many level cells. The field holds nothing else.
#define REPORT_WEDGE_BAR_NUMBER "#%lu"
#define REPORT_STRIPED_BAR_NUMBER "%%%lu"
#define REPORT_LAMPS_NUMBER "&%lu"
#define REPORT_LEVEL_CELLS_NUMBER "@%lu"

// The same markup as single bytes, for readers of report lines.
constexpr char kMarkUnderline = REPORT_MARK_UNDERLINE[0];
constexpr char kMarkBright = REPORT_MARK_BRIGHT[0];
constexpr char kMarkDark = REPORT_MARK_DARK[0];
constexpr char kMarkGrey = REPORT_MARK_GREY[0];
constexpr char kMarkRgb = REPORT_MARK_RGB[0];
constexpr char kMarkWedgeBar = '#';    // then two digits
constexpr char kMarkStripedBar = '%';  // then two digits
constexpr char kMarkSolidBar = '~';    // then a colour letter and two digits; spans two columns
constexpr char kMarkLamps = '&';       // then a drive index digit
constexpr char kMarkLevelCells = '@';  // then a decimal count

// Brushes the commands name; the painter maps them to shared or stock brushes.
enum class ReportBrush : uint8_t {
    kBlack, kWhite, kLightGrey, kDarkGrey,          // stock brushes
    kYellow, kCyan, kMagenta, kGreen, kRed, kBlue,  // SharedGdi brushes
};

struct ReportRect {
    int left, top, right, bottom;
};

enum class ReportOp : uint8_t {
    kTextColour,      // colour: set the text colour (0xBBGGRR)
    kGreyTextColour,  // set the system's grey-text colour
    kText,            // text, textLength at (rect.left, rect.top), underlined or not
    kFill,            // fill rect with brush
    kFrame,           // frame rect with brush (one pixel)
};

struct ReportDraw {
    ReportOp op;
    ReportRect rect;
    ReportBrush brush;
    uint32_t colour;
    bool underlined;
    const char* text;  // points into the parsed line
    int textLength;
};

struct ReportItemLayout {
    ReportRect item;       // the list item's rectangle
    const int* tabStops;   // x of each column, from the item's left edge
    int tabStopCount;
    uint32_t litLamps;     // bit drive * 5 + kind set: that lamp of the drive's row is lit
};

using ReportDrawSink = void (*)(void* context, const ReportDraw& draw);

// Finds the next non-empty run of bytes that are not separator in text[0, length), from
// *position on; a NUL ends the text. Runs of separators count as one and separators at
// either end are ignored. Returns false when no run is left.
bool NextReportRun(const char* text, size_t length, size_t* position, char separator, size_t* start,
                   size_t* runLength);

// Sends the drawing commands of one line to sink, in drawing order. Reads at most length
// bytes (a NUL ends the line earlier); fields past the last tab stop are not drawn.
void ParseReportLine(const char* line, size_t length, const ReportItemLayout& layout, ReportDrawSink sink,
                     void* context);

// The value of a bar field's digits: up to two characters read as a decimal number (a
// single digit at the end of the field is that digit; no leading digit reads as 0).
int ReportBarValue(const char* digits, size_t length);

// A bar field holds two digits, so the largest value it can say is 99: a quantity of 100
// or more is written as 99 (a third digit would be cut off and read as a short bar).
constexpr unsigned long kReportBarMax = 99;
unsigned long ReportBarDigits(unsigned long quantity);

// Formats a report line that carries one number into out (outSize bytes, always ended):
// format holds exactly one "%lu" conversion and "%%" for a literal percent sign. When the
// conversion opens a bar field (right after "%", "#" or "~" and its colour letter at the
// start of a field, after an optional underline prefix) the number is written through
// ReportBarDigits; elsewhere (counts, level cells, drive indexes) it is written whole.
// Every builder of bar lines formats through here. Returns what snprintf returns.
int FormatReportLine(char* out, size_t outSize, const char* format, unsigned long value);
