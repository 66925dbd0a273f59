// Report text: one line of a report is cut at tabs into fields, field i is drawn at
// column i, and each field may start with markup that picks a colour, the underlined font
// or a small graphic (bars, lamps, level cells). This file turns a line into drawing
// commands; the report list's painter carries them out with GDI.
#pragma once
#include <cstddef>
#include <cstdint>

#include "services/report_slot.h"

// Markup bytes at the start of a field.
constexpr char kMarkBright = 0x01;     // then a colour letter
constexpr char kMarkDark = 0x02;       // then a colour letter
constexpr char kMarkGrey = 0x03;       // the system's grey-text colour
constexpr char kMarkRgb = 0x04;        // then three bytes r, g, b
constexpr char kMarkUnderline = 0x06;  // prefix: underlined font

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
    uint32_t litLamps;     // bit drive * 5 + kind set: that file-change counter is non-zero
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
