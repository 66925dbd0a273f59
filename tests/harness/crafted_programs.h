// Program files made for tests and benchmarks: the headers the import readers look at and
// nothing else.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

inline void PutLittleEndian32(std::vector<unsigned char>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

// A PE32+ program importing the modules (at most 75, names under 32 characters): one
// section at virtual 0x2000 holding the import descriptors (file 0x200) and the names
// (file 0x800 on).
inline std::vector<unsigned char> PeProgramImporting(const std::vector<std::string>& imports)
{
    std::vector<unsigned char> b(0x2000, 0);
    b[0] = 'M', b[1] = 'Z', b[0x18] = 0x40;
    PutLittleEndian32(b, 0x3C, 0x80);
    memcpy(&b[0x80], "PE\0\0", 4);
    b[0x86] = 1, b[0x94] = 0xF0;
    b[0x98] = 0x0B, b[0x99] = 0x02;
    PutLittleEndian32(b, 0x98 + 108, 16);
    PutLittleEndian32(b, 0x98 + 112 + 8, 0x2000);
    const size_t section = 0x98 + 0xF0;
    PutLittleEndian32(b, section + 8, 0x1E00), PutLittleEndian32(b, section + 12, 0x2000);
    PutLittleEndian32(b, section + 16, 0x1E00), PutLittleEndian32(b, section + 20, 0x200);
    for (size_t i = 0; i < imports.size(); ++i) {
        const size_t name = 0x800 + 32 * i;
        memcpy(&b[name], imports[i].c_str(), imports[i].size());
        PutLittleEndian32(b, 0x200 + 20 * i + 12, uint32_t(name - 0x200 + 0x2000));
    }
    return b;
}
