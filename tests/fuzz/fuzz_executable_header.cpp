// Program files come from anywhere: the header checks must stay within the bytes read for
// any file, and give one of the three kinds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "services/executable_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The input is a whole file; the two reads are copied into blocks of exactly the
    // length read, as the file reader would get them.
    const size_t headLength = size < kExecutableHeadLength ? size : kExecutableHeadLength;
    std::vector<unsigned char> head(data, data + headLength);
    uint32_t offset = 0;
    if (!FindNewHeaderOffset(head.data(), head.size(), &offset)) return 0;
    if (offset > 0x7FFFFFFFu) abort();
    const size_t at = offset < size ? offset : size;
    const size_t length = size - at < kNewHeaderLength ? size - at : kNewHeaderLength;
    std::vector<unsigned char> header(data + at, data + at + length);
    const int kind = ClassifyNewHeader(header.data(), header.size());
    if (kind < kNotWindowsProgram || kind > kPortableExecutable) abort();
    return 0;
}
