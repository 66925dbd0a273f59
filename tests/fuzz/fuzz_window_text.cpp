// Window titles and report lines come from other programs and from files: the name and
// search-text rules must stay within their buffers for any bytes and any buffer size.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "services/process_rules.h"
#include "services/report_search.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    const size_t outSize = size % 300;
    std::vector<char> out(outSize);  // exactly outSize, so a write past it is caught
    AppNameFromTitleText(text.c_str(), out.data(), outSize);
    ReportSearchText(text.c_str(), out.data(), outSize);
    return 0;
}
