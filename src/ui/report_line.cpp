#include "ui/report_line.h"

#include <cstdio>

struct ColourLetter {
    char letter;
    uint32_t bright;  // after kMarkBright
    uint32_t dark;    // after kMarkDark
    ReportBrush bar;  // "~" bar brush
    uint32_t barText; // "~" digits colour
};

// "Y" is white as a text colour (values are written that way) but yellow as a bar.
static const ColourLetter kColourLetters[] = {
    {'B', 0xFF0000, 0x800000, ReportBrush::kBlue, 0xFF0000},
    {'C', 0xFFFF00, 0x808000, ReportBrush::kCyan, 0xFFFF00},
    {'G', 0x00FF00, 0x008000, ReportBrush::kGreen, 0x00FF00},
    {'K', 0x000000, 0x000000, ReportBrush::kBlack, 0x000000},
    {'M', 0xFF00FF, 0x800080, ReportBrush::kMagenta, 0xFF00FF},
    {'R', 0x0000FF, 0x000080, ReportBrush::kRed, 0x0000FF},
    {'W', 0xFFFFFF, 0xFFFFFF, ReportBrush::kWhite, 0xFFFFFF},
    {'Y', 0xFFFFFF, 0x008080, ReportBrush::kYellow, 0x00FFFF},
};

constexpr int kLampCount = 5;
constexpr int kLampDrives = 6;
constexpr int kLampPitch = 20;
constexpr int kLampWidth = 15;
constexpr int kCellWidth = 10;
constexpr int kTextDrop = 2;     // text baseline box starts this far below the item's top
constexpr int kMaxCells = 9999;  // a level count is read no further than this

static const ColourLetter* FindColourLetter(char letter)
{
    for (const ColourLetter& c : kColourLetters)
        if (c.letter == letter) return &c;
    return nullptr;
}

static bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

static int Clamp(int value, int low, int high)
{
    return value < low ? low : value > high ? high : value;
}

int ReportBarValue(const char* digits, size_t length)
{
    int value = 0;
    for (size_t i = 0; i < length && i < 2 && IsDigit(digits[i]); ++i) value = value * 10 + (digits[i] - '0');
    return value;
}

unsigned long ReportBarDigits(unsigned long quantity)
{
    return quantity > kReportBarMax ? kReportBarMax : quantity;
}

// True when the text of a field before a number makes that number a bar value.
static bool OpensBarField(const char* field, size_t length)
{
    if (length > 0 && field[0] == kMarkUnderline) {
        ++field;
        --length;
    }
    if (length == 1) return field[0] == kMarkStripedBar || field[0] == kMarkWedgeBar;
    return length == 2 && field[0] == kMarkSolidBar;
}

int FormatReportLine(char* out, size_t outSize, const char* format, unsigned long value)
{
    // The field text before the conversion, as printf will write it ("%%" is one "%").
    // Only its first three characters matter: a longer prefix is never a bar's.
    char field[3];
    size_t fieldLength = 0;
    for (const char* p = format; *p; ++p) {
        const char c = *p;
        if (c == '%') {
            if (p[1] != '%') {
                if (OpensBarField(field, fieldLength)) value = ReportBarDigits(value);
                break;
            }
            ++p;
        }
        if (c == '\t') {
            fieldLength = 0;
            continue;
        }
        if (fieldLength < sizeof field) field[fieldLength] = c;
        ++fieldLength;
    }
    if (outSize == 0) return 0;
    return snprintf(out, outSize, format, value);
}

bool NextReportRun(const char* text, size_t length, size_t* position, char separator, size_t* start,
                   size_t* runLength)
{
    size_t p = *position;
    while (p < length && text[p] == separator) ++p;
    if (p >= length || text[p] == '\0') {
        *position = p;
        return false;
    }
    *start = p;
    while (p < length && text[p] != '\0' && text[p] != separator) ++p;
    *runLength = p - *start;
    *position = p;
    return true;
}

// Draws the fields of one line through the sink; column is the field's index.
struct LinePainter {
    const ReportItemLayout& layout;
    ReportDrawSink sink;
    void* context;

    void Emit(ReportOp op, ReportRect rect, ReportBrush brush = ReportBrush::kBlack, uint32_t colour = 0,
              bool underlined = false, const char* text = nullptr, int textLength = 0) const
    {
        ReportDraw draw{op, rect, brush, colour, underlined, text, textLength};
        sink(context, draw);
    }
    void Colour(uint32_t colour) const { Emit(ReportOp::kTextColour, ReportRect{}, ReportBrush::kBlack, colour); }
    void Fill(const ReportRect& r, ReportBrush brush) const
    {
        if (r.right > r.left && r.bottom > r.top) Emit(ReportOp::kFill, r, brush);
    }
    void Frame(const ReportRect& r, ReportBrush brush) const
    {
        if (r.right > r.left && r.bottom > r.top) Emit(ReportOp::kFrame, r, brush);
    }
    void Text(int x, const char* text, size_t length, bool underlined) const
    {
        if (length == 0) return;
        ReportRect origin{x, layout.item.top + kTextDrop, x, layout.item.top + kTextDrop};
        Emit(ReportOp::kText, origin, ReportBrush::kBlack, 0, underlined, text, int(length));
    }

    // x of column c inside the item; a column past the last tab stop ends at the item's
    // right edge, so a bar in the last column still has a width.
    int Stop(int c) const
    {
        return c < layout.tabStopCount ? layout.tabStops[c] : layout.item.right - layout.item.left;
    }
    int Left(int c) const { return layout.item.left + layout.tabStops[c]; }
    int Span(int c, int columns) const
    {
        int span = Stop(c + columns) - layout.tabStops[c];
        return span > 0 ? span : 0;
    }

    // The "#" and "%" bars share one rectangle: 1..100 percent of the column, inset.
    ReportRect PercentBar(int c, const char* digits, size_t length) const
    {
        const int n = Clamp(ReportBarValue(digits, length), 0, 99) + 1;
        const int width = n * Span(c, 1) / 100;
        const int left = Left(c);
        return ReportRect{left + 1, layout.item.top + 2, left + width + 1, layout.item.bottom - 2};
    }

    static ReportBrush ByWidth(int pixels)
    {
        return pixels <= 33 ? ReportBrush::kGreen : pixels <= 66 ? ReportBrush::kYellow : ReportBrush::kRed;
    }

    // Strips every second column, shortening from left to right; one brush for the bar.
    void WedgeBar(int c, const char* digits, size_t length) const
    {
        const ReportRect r = PercentBar(c, digits, length);
        const int width = r.right - r.left;
        const int height = r.bottom - r.top;
        const ReportBrush brush = ByWidth(width);
        if (height <= 0) return;
        for (int i = 0; i < width; i += 2)
            Fill(ReportRect{r.left + i, r.top + i * height / 100, r.left + i + 1, r.bottom}, brush);
    }

    // Full-height strips every third column, coloured by their distance from the left.
    void StripedBar(int c, const char* digits, size_t length) const
    {
        const ReportRect r = PercentBar(c, digits, length);
        const int width = r.right - r.left;
        for (int i = 0; i < width; i += 3) Fill(ReportRect{r.left + i, r.top, r.left + i + 1, r.bottom}, ByWidth(i));
    }

    // A framed bar over this column and the next, then its two digits as text after it.
    void SolidBar(int c, const char* field, size_t length, bool underlined) const
    {
        const ColourLetter* letter = length > 1 ? FindColourLetter(field[1]) : nullptr;
        const char* digits = field + 2;
        const size_t digitCount = length > 2 ? (length - 2 < 2 ? length - 2 : 2) : 0;
        const int n = Clamp(ReportBarValue(digits, digitCount), 0, 99);
        const int left = Left(c);
        const ReportRect r{left + 1, layout.item.top + 1, left + n * Span(c, 2) / 100 - 1, layout.item.bottom - 1};
        if (r.right > r.left) {
            Fill(r, letter ? letter->bar : ReportBrush::kBlack);
            Frame(r, ReportBrush::kBlack);
        }
        if (letter) Colour(letter->barText);
        Text(r.right + 5, digits, digitCount, underlined);
    }

    // Five lamps for one drive, lit where its file-change counter of that kind is non-zero.
    void Lamps(int c, const char* field, size_t length) const
    {
        const int drive = length > 1 && IsDigit(field[1]) ? field[1] - '0' : -1;
        for (int j = 0; j < kLampCount; ++j) {
            const bool lit = drive >= 0 && drive < kLampDrives && (layout.litLamps >> (drive * kLampCount + j)) & 1u;
            const ReportBrush lamp = lit ? ReportBrush::kLightGrey : ReportBrush::kDarkGrey;
            const int left = Left(c) + kLampPitch * j;
            const ReportRect cell{left + 1, layout.item.top + 1, left + kLampWidth - 1, layout.item.bottom - 1};
            const int middle = (cell.top + cell.bottom) / 2;
            const ReportRect lower{cell.left + 3, middle + 2, cell.right - 3, cell.bottom - 3};
            Fill(lower, lamp);
            Fill(ReportRect{lower.left + 1, lower.top + 1, lower.right - 1 - 4, lower.bottom - 1}, ReportBrush::kBlack);
            if (lit) Fill(ReportRect{cell.left + 2, cell.top + 2, cell.right - 2, middle}, ReportBrush::kYellow);
            Frame(cell, lamp);
        }
    }

    // A row of cells, each a green cap over a light grey frame.
    void LevelCells(int c, const char* field, size_t length) const
    {
        int count = 0;
        for (size_t i = 1; i < length && IsDigit(field[i]) && count <= kMaxCells; ++i)
            count = count * 10 + (field[i] - '0');
        for (int j = 0; j < count && j < kMaxCells; ++j) {
            const int left = Left(c) + kCellWidth * j;
            if (left >= layout.item.right) break;  // the rest would not show
            const ReportRect r{left + 1, layout.item.top + 2, left + kCellWidth - 1, layout.item.bottom - 2};
            Fill(ReportRect{r.left, r.top, r.right, r.top + 3}, ReportBrush::kGreen);
            Frame(ReportRect{r.left, r.top, r.right, layout.item.bottom - 1}, ReportBrush::kLightGrey);
        }
    }

    void Field(int c, const char* field, size_t length) const
    {
        bool underlined = false;
        if (length > 0 && field[0] == kMarkUnderline) {
            underlined = true;
            ++field;
            --length;
        }
        const int x = Left(c);
        const char first = length > 0 ? field[0] : '\0';
        switch (first) {
        case kMarkBright:
        case kMarkDark: {
            // An unknown letter keeps the colour the previous field left.
            const ColourLetter* letter = length > 1 ? FindColourLetter(field[1]) : nullptr;
            if (letter) Colour(first == kMarkBright ? letter->bright : letter->dark);
            if (length > 2) Text(x, field + 2, length - 2, underlined);
            return;
        }
        case kMarkGrey:
            Emit(ReportOp::kGreyTextColour, ReportRect{});
            Text(x, field + 1, length - 1, underlined);
            return;
        case kMarkRgb: {
            uint32_t rgb = 0;
            for (size_t i = 1; i < 4 && i < length; ++i) rgb |= uint32_t(uint8_t(field[i])) << (8 * (i - 1));
            Colour(rgb);
            if (length > 4) Text(x, field + 4, length - 4, underlined);
            return;
        }
        case kMarkWedgeBar:
            Colour(0);
            WedgeBar(c, field + 1, length - 1);
            return;
        case kMarkStripedBar:
            Colour(0);
            StripedBar(c, field + 1, length - 1);
            return;
        case kMarkSolidBar:
            SolidBar(c, field, length, underlined);
            return;
        case kMarkLamps:
            Lamps(c, field, length);
            return;
        case kMarkLevelCells:
            LevelCells(c, field, length);
            return;
        default:
            Colour(0);
            Text(x, field, length, underlined);
            return;
        }
    }
};

void ParseReportLine(const char* line, size_t length, const ReportItemLayout& layout, ReportDrawSink sink,
                     void* context)
{
    LinePainter painter{layout, sink, context};
    size_t position = 0, start = 0, fieldLength = 0;
    for (int column = 0; column < layout.tabStopCount; ++column) {
        if (!NextReportRun(line, length, &position, '\t', &start, &fieldLength)) return;
        painter.Field(column, line + start, fieldLength);
    }
}
