#include "services/executable_header.h"

// Little-endian fields; bytes past length read as 0.
static unsigned ByteAt(const unsigned char* bytes, size_t length, size_t offset)
{
    return offset < length ? bytes[offset] : 0u;
}

static unsigned WordAt(const unsigned char* bytes, size_t length, size_t offset)
{
    return ByteAt(bytes, length, offset) | ByteAt(bytes, length, offset + 1) << 8;
}

static uint32_t DwordAt(const unsigned char* bytes, size_t length, size_t offset)
{
    return uint32_t(WordAt(bytes, length, offset)) | uint32_t(WordAt(bytes, length, offset + 2)) << 16;
}

bool FindNewHeaderOffset(const unsigned char* head, size_t length, uint32_t* offset)
{
    *offset = 0;
    if (length <= 64) return false;
    if (head[0] != 'M' || head[1] != 'Z') return false;
    if (WordAt(head, length, 0x18) < 0x40) return false;  // plain MS-DOS program
    const uint32_t at = DwordAt(head, length, 0x3C);
    if (at > 0x7FFFFFFFu) return false;
    *offset = at;
    return true;
}

int ClassifyNewHeader(const unsigned char* header, size_t length)
{
    if (length <= 50) return kNotWindowsProgram;
    const unsigned signature = WordAt(header, length, 0);
    if (signature == 0x454E) {  // "NE"
        const bool isLibrary = (WordAt(header, length, 0x0C) & 0x8000) != 0;
        const bool hasNonResidentNames = WordAt(header, length, 0x20) != 0;
        const bool isOs2 = ByteAt(header, length, 0x36) == 1;
        if (!isLibrary && hasNonResidentNames && !isOs2) return kWindows16Application;
    }
    if (signature == 0x4550) return kPortableExecutable;  // "PE"
    return kNotWindowsProgram;
}
