// Tip files come from disk: whatever their bytes, the parser keeps to whole records, and
// every title and text it hands on ends within its field, with levels 0..9.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "analysis/tip_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    // The first byte picks the key: mostly small ones, so records match often.
    const uint32_t key = data[0] < 240 ? data[0] % 16 : 0xffffff00u | data[0];
    // Content in a block of exactly its length, so a read past it is caught.
    const std::vector<uint8_t> bytes(data + 1, data + size);
    std::vector<TipRecord> records;
    ParseTipRecords(bytes.data(), bytes.size(), key, &records);
    if (records.size() > bytes.size() / kTipRecordSize) abort();
    for (const TipRecord& record : records) {
        if (record.key != key || record.impact > 9 || record.effort > 9) abort();
        if (!memchr(record.title, 0, sizeof record.title) || !memchr(record.text, 0, sizeof record.text)) abort();
    }
    if (IsTipFileLength(bytes.size()) != (!bytes.empty() && bytes.size() % kTipRecordSize == 0)) abort();
    return 0;
}
