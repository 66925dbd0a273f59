// Program files come from anywhere: the NE module reader gets the blocks the file reader
// would read from the input taken as a whole file, each exactly as long as what was read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "conflicts/import_readers.h"
#include "services/executable_header.h"

namespace {

std::vector<unsigned char> ReadAt(const uint8_t* data, size_t size, uint64_t offset, size_t length)
{
    if (offset >= size) return {};
    const size_t left = size_t(size - offset);
    return std::vector<unsigned char>(data + offset, data + offset + (left < length ? left : length));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<unsigned char> head = ReadAt(data, size, 0, kExecutableHeadLength);
    uint32_t offset = 0;
    if (!FindNewHeaderOffset(head.data(), head.size(), &offset)) return 0;
    const std::vector<unsigned char> header = ReadAt(data, size, offset, kNewHeaderLength);
    NeLayout layout;
    if (!ReadNeLayout(header.data(), header.size(), offset, &layout)) return 0;
    if (layout.moduleCount > uint32_t(kModuleNameLimit)) abort();
    const std::vector<unsigned char> references = ReadAt(data, size, layout.referencesOffset, kNeTableLength);
    const std::vector<unsigned char> importedNames = ReadAt(data, size, layout.importedNamesOffset, kNeTableLength);
    static char names[kModuleNameSlots][kModuleNameLength];
    const int count = ParseNeModuleNames(layout, references.data(), references.size(), importedNames.data(),
                                         importedNames.size(), names);
    if (count < 0 || count > kModuleNameLimit) abort();
    for (int i = 0; i < count; ++i)
        if (!memchr(names[i], '\0', kModuleNameLength) || IsSystemNeModule(names[i], strlen(names[i]))) abort();
    return 0;
}
