// Program files come from anywhere: the import reader must stay inside the mapped file for
// any bytes, count at most the limit and leave every slot it counts ended.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "conflicts/import_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy: a read past the end of the file is a read past the block.
    std::vector<unsigned char> image(data, data + size);
    static char names[kModuleNameSlots][kModuleNameLength];
    const int count = ParsePeImportNames(image.data(), image.size(), names);
    if (count < 0 || count > kModuleNameLimit) abort();
    for (int i = 0; i < count; ++i)
        if (!memchr(names[i], '\0', kModuleNameLength)) abort();
    return 0;
}
