#include "analysis/tip_file.h"

#include <cstring>

bool IsTipFileLength(uint64_t length)
{
    return length != 0 && length % kTipRecordSize == 0 && length / kTipRecordSize <= kMaxTipRecords;
}

static uint32_t ReadWord(const uint8_t* bytes)
{
    uint32_t value;
    memcpy(&value, bytes, sizeof value);  // records are little-endian images
    return value;
}

// Levels outside 0..9 have no icon: they show as the highest level.
static uint32_t Level(uint32_t value)
{
    return value > 9 ? 9 : value;
}

void ParseTipRecords(const uint8_t* bytes, size_t length, uint32_t key, std::vector<TipRecord>* records)
{
    for (size_t at = 0; length - at >= kTipRecordSize; at += kTipRecordSize) {
        const uint8_t* image = bytes + at;
        if (ReadWord(image + offsetof(TipRecord, key)) != key) continue;
        TipRecord record;
        record.key = key;
        record.impact = Level(ReadWord(image + offsetof(TipRecord, impact)));
        record.effort = Level(ReadWord(image + offsetof(TipRecord, effort)));
        // The file comes from outside: a field without its NUL is cut at its last byte, so
        // a title never runs on into the text.
        memcpy(record.title, image + offsetof(TipRecord, title), sizeof record.title);
        record.title[sizeof record.title - 1] = '\0';
        memcpy(record.text, image + offsetof(TipRecord, text), sizeof record.text);
        record.text[sizeof record.text - 1] = '\0';
        records->push_back(record);
    }
}
