// Date texts come from the BIOS and from files: any bytes must parse without reading past
// the text, and a file date must fit its buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "services/dates.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    uint32_t day, month, year;
    ParseDateText(text.c_str(), &day, &month, &year);
    // Without a digit there are no numbers: only a month name can set anything.
    const bool hasDigit = strpbrk(text.c_str(), "0123456789") != nullptr;
    if (!hasDigit && (day != 0 || year != 0 || month > 11)) abort();
    char out[16];
    FormatFileDate(month, day, year, out, sizeof out);
    if (strlen(out) >= sizeof out) abort();
    return 0;
}
