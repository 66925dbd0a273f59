#include "ui/help_text.h"

#include "ui/report_line.h"

// The longest prefix of text[0, length) that fits, at least one character.
static size_t FittingPrefix(const char* text, size_t length, int width, HelpTextMeasure measure, void* context)
{
    size_t low = 1, high = length;
    while (low < high) {
        const size_t middle = (low + high + 1) / 2;
        if (measure(context, text, middle) <= width)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

// Where to cut a line that does not fit: the length of the prefix to show and where the
// rest starts.
static void FindCut(const char* text, size_t length, int width, HelpTextMeasure measure, void* context,
                    size_t* prefix, size_t* restStart)
{
    size_t end = length;
    for (;;) {
        size_t i = end;
        while (i > 0 && text[i - 1] == ' ') --i;
        while (i > 0 && text[i - 1] != ' ') --i;
        if (i <= 1) break;  // no space left with something before it
        // text[i - 1] is a space; the prefix before it may still end in blanks.
        size_t before = i - 1;
        while (before > 0 && text[before - 1] == ' ') --before;
        if (before > 0 && measure(context, text, before) <= width) {
            *prefix = before;
            size_t next = i - 1;
            while (next < length && text[next] == ' ') ++next;
            *restStart = next;
            return;
        }
        end = before;
    }
    *prefix = FittingPrefix(text, length, width, measure, context);
    *restStart = *prefix;
}

void WrapHelpText(const char* text, size_t length, int width, HelpTextMeasure measure, HelpTextAddItem add,
                  void* context)
{
    size_t position = 0, start = 0, lineLength = 0;
    while (NextReportRun(text, length, &position, '\n', &start, &lineLength)) {
        const char* rest = text + start;
        size_t restLength = lineLength;
        while (restLength > 0 && measure(context, rest, restLength) > width) {
            size_t prefix = 0, restStart = 0;
            FindCut(rest, restLength, width, measure, context, &prefix, &restStart);
            add(context, rest, prefix);
            rest += restStart;
            restLength -= restStart;
        }
        if (restLength > 0) add(context, rest, restLength);
    }
    add(context, " ", 1);
}
