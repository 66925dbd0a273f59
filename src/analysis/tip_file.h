// Tip files (COACH.DAT, BOOST.DAT): a plain sequence of 652-byte records, no header.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct TipRecord {
    uint32_t key;      // coach score index 0..12, or Boost PC Tips category 0..9
    uint32_t impact;   // 0..9
    uint32_t effort;   // 0..9
    char title[128];   // NUL-terminated
    char text[512];    // NUL-terminated
};

constexpr size_t kTipRecordSize = 652;
static_assert(sizeof(TipRecord) == kTipRecordSize, "tip records are 652-byte file images");
static_assert(offsetof(TipRecord, title) == 12 && offsetof(TipRecord, text) == 140, "layout");

// More records than any tip file holds: a larger file is taken as damaged.
constexpr size_t kMaxTipRecords = 10000;

// Whether a file of this many bytes may be a tip file: non-empty, whole records, at most
// kMaxTipRecords of them.
bool IsTipFileLength(uint64_t length);

// Appends to records, in file order, every whole record of bytes[0..length) whose key is
// key; each title and text is cut at its field's end and NUL-terminated there, and an
// impact or effort above 9 reads as 9. A trailing part record is ignored.
void ParseTipRecords(const uint8_t* bytes, size_t length, uint32_t key, std::vector<TipRecord>* records);

// The Win32 reader: the file of that name in the program's folder. Shows one box
// "Unable to find or read data file NAME. ..." (caption "Error!") when the file is missing,
// of a wrong length or cannot be read, and returns false; records read before a failed
// read are kept.
bool ReadTipFile(const char* fileName, uint32_t key, std::vector<TipRecord>* records);

constexpr const char* kCoachTipFile = "COACH.DAT";
constexpr const char* kBoostTipFile = "BOOST.DAT";
