// Profile and configuration lines come from files on disk: the value, upper-case copy and
// line searches must stay within their buffers for any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "services/text_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    // The first byte splits the input into a needle and the content.
    const size_t split = data[0] % 16 < size - 1 ? data[0] % 16 : size - 1;
    const std::string needle(reinterpret_cast<const char*>(data + 1), split);
    // Content in a block of exactly its length, so a read past it is caught.
    std::vector<char> content(data + 1 + split, data + size);
    const std::string line(content.begin(), content.end());
    if (strlen(ProfileLineValue(line.c_str())) > 255) abort();
    char upper[32];
    CopyUpper(line.c_str(), upper, size % sizeof upper);
    BufferContainsText(content.data(), content.size(), needle.c_str());
    BufferHasActiveLine(content.data(), content.size(), needle.c_str());
    UppercaseBuffer(content.data(), content.size());
    return 0;
}
