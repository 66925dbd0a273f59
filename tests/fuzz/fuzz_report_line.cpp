// Report lines come from resources, files and names of other programs: the parser must
// stay inside the line and its tab stops for any bytes, and the name shortener inside its
// buffer. The first bytes choose the tab stops and the item's size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ui/report_line.h"
#include "ui/short_name.h"

// The context is the line's bytes.
static void Check(void* context, const ReportDraw& draw)
{
    const std::vector<char>& line = *static_cast<const std::vector<char>*>(context);
    const bool isText = draw.op == ReportOp::kText;
    if (isText && (draw.textLength <= 0 || draw.text < line.data() || draw.text + draw.textLength > line.data() + line.size())) abort();
    if ((draw.op == ReportOp::kFill || draw.op == ReportOp::kFrame) &&
        (draw.rect.right <= draw.rect.left || draw.rect.bottom <= draw.rect.top))
        abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3) return 0;
    const int stopCount = data[0] % 10;
    const int height = data[1] % 40;
    std::vector<int> stops;
    for (int i = 0; i < stopCount; ++i) stops.push_back(i * (data[2] % 120));  // equal stops too
    const char* text = reinterpret_cast<const char*>(data + 3);
    const size_t length = size - 3;
    std::vector<char> line(text, text + length);  // exactly length bytes, no NUL after them

    ReportItemLayout layout{ReportRect{0, 0, 700, height}, stops.data(), stopCount, 0x3FFFFFFFu};
    ParseReportLine(line.data(), line.size(), layout, Check, &line);

    std::vector<char> name(text, text + length);
    name.push_back('\0');
    char out[kReportLineSlot];
    ShortenAtBreakText(name.data(), out, 1 + data[1] % sizeof out);
    return 0;
}
