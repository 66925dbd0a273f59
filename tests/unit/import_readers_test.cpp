// The module readers over crafted NE, PE32 and PE32+ images, hostile and cut-short headers
// and this project's own builds; what a copy's outcome is called and how its row is cut.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "conflicts/conflict_rules.h"
#include "conflicts/import_readers.h"

namespace {

using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, size_t at, uint32_t v)
{
    b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}

void Put32(Bytes& b, size_t at, uint32_t v)
{
    Put16(b, at, v & 0xFFFF), Put16(b, at + 2, v >> 16);
}

struct NameBlock {
    std::vector<char> block = std::vector<char>(size_t(kModuleNameSlots) * kModuleNameLength, 'x');
    ModuleNames names() { return reinterpret_cast<ModuleNames>(block.data()); }
};

std::vector<std::string> Read(int count, ModuleNames names)
{
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.push_back(names[i]);
    return out;
}

// A PE image: new header at 0x80, one section (virtual 0x2000.., raw 0x200..) holding the
// import descriptors at its start and the names at 0x100 past them.
constexpr uint32_t kPe = 0x80, kSectionRva = 0x2000, kSectionRaw = 0x200;

Bytes PeImage(uint16_t magic, const std::vector<std::string>& imports, uint32_t rvaCount = 16)
{
    const size_t namesAt = kSectionRaw + 20 * (imports.size() + 1);
    Bytes b(namesAt + 16 * imports.size() + 16, 0);
    b[0] = 'M', b[1] = 'Z';
    Put32(b, 0x3C, kPe);
    memcpy(&b[kPe], "PE\0\0", 4);
    const uint32_t optionalLength = magic == 0x20B ? 0xF0 : 0xE0;
    Put16(b, kPe + 6, 1);
    Put16(b, kPe + 20, optionalLength);
    const uint32_t optional = kPe + 24, directories = optional + (magic == 0x20B ? 112 : 96);
    Put16(b, optional, magic);
    Put32(b, directories - 4, rvaCount);
    Put32(b, directories + 8, kSectionRva);
    const uint32_t section = optional + optionalLength;
    Put32(b, section + 8, 0x1000);
    Put32(b, section + 12, kSectionRva);
    Put32(b, section + 20, kSectionRaw);
    for (size_t i = 0; i < imports.size(); ++i) {
        const size_t name = namesAt + 16 * i;
        memcpy(&b[name], imports[i].c_str(), imports[i].size() < 15 ? imports[i].size() : 15);
        Put32(b, kSectionRaw + 20 * i + 12, uint32_t(name - kSectionRaw + kSectionRva));
    }
    return b;
}

int ParsePe(const Bytes& image, NameBlock& names)
{
    return ParsePeImportNames(image.data(), image.size(), names.names());
}

TEST(ParsePeImportNames, ReadsTheImportDirectoryOfPe32AndPe32PlusAndNothingWithoutOne)
{
    const std::vector<std::string> imports = {"KERNEL32.dll", "USER32.dll", "VBRUN.DLL"};
    for (uint16_t magic : {0x10B, 0x20B}) {
        SCOPED_TRACE(magic);
        NameBlock names;
        Bytes image = PeImage(magic, imports);
        EXPECT_EQ(Read(ParsePe(image, names), names.names()), imports);
        // Too few data directory entries to have an import directory.
        EXPECT_EQ(ParsePe(PeImage(magic, imports, 1), names), 0);
    }
    // In PE32+ the PE32 position of the import directory holds something else.
    NameBlock names;
    Bytes plus = PeImage(0x20B, imports);
    Put32(plus, kPe + 0x80, 0);
    EXPECT_EQ(ParsePe(plus, names), 3);
    Bytes unknownMagic = PeImage(0x107, imports), noSection = PeImage(0x10B, imports);
    EXPECT_EQ(ParsePe(unknownMagic, names), 0);
    Put32(noSection, kPe + 24 + 96 + 8, kSectionRva + 0x1000);  // just past the section
    EXPECT_EQ(ParsePe(noSection, names), 0);
}

TEST(ParsePeImportNames, StaysInsideAnyCutOrHostileImage)
{
    const Bytes whole = PeImage(0x20B, {"ONE.DLL", "TWO.DLL"});
    NameBlock names;
    // Every shorter file: an exact-size copy, so any read past its end is caught.
    for (size_t size = 0; size < whole.size(); ++size) {
        const Bytes cut(whole.begin(), whole.begin() + long(size));
        const int count = ParsePeImportNames(cut.data(), cut.size(), names.names());
        EXPECT_LE(count, 2) << size;
    }
    // The signature offset at the very end of the file, and beyond it.
    for (uint32_t at : {uint32_t(whole.size() - 2), uint32_t(whole.size()), 0xFFFFFFF0u}) {
        Bytes hostile = whole;
        Put32(hostile, 0x3C, at);
        EXPECT_EQ(ParsePe(hostile, names), 0) << at;
    }
    // A name address before the section's file position, and a last name with no end.
    Bytes before = whole;
    Put32(before, kSectionRaw + 12, 0x10);
    EXPECT_EQ(ParsePe(before, names), 0);
    Bytes unended = whole;
    const size_t last = unended.size() - 16;
    Put32(unended, kSectionRaw + 20 + 12, uint32_t(last - kSectionRaw + kSectionRva));
    memset(&unended[last], 'A', 16);
    EXPECT_EQ(Read(ParsePe(unended, names), names.names()), std::vector<std::string>{"ONE.DLL"});
}

TEST(ParsePeImportNames, CountsAtMostFiveHundredNamesAndLaterOnesTakeTheLastSlot)
{
    std::vector<std::string> imports;
    char name[16];
    for (int i = 0; i < 600; ++i) snprintf(name, sizeof name, "M%03d.DLL", i), imports.push_back(name);
    NameBlock names;
    const Bytes image = PeImage(0x10B, imports);
    EXPECT_EQ(ParsePe(image, names), kModuleNameLimit);
    EXPECT_STREQ(names.names()[498], "M498.DLL");
    EXPECT_STREQ(names.names()[499], "M599.DLL");
}

TEST(ParsePeImportNames, ThisProjectsOwnBuildsImportKernel32)
{
    int read = 0;
    for (const char* build : {"win64", "win32"}) {
        const std::string path = std::string(HALVORN_SOURCE_DIR) + "/build/" + build + "/halvorn.exe";
        FILE* file = fopen(path.c_str(), "rb");
        if (!file) continue;
        ++read;
        Bytes image;
        unsigned char buffer[65536];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, file)) > 0;) image.insert(image.end(), buffer, buffer + n);
        fclose(file);
        SCOPED_TRACE(path);
        NameBlock names;
        bool hasKernel = false;
        for (const std::string& name : Read(ParsePe(image, names), names.names()))
            hasKernel = hasKernel || strcasecmp(name.c_str(), "KERNEL32.dll") == 0;
        EXPECT_TRUE(hasKernel);
    }
    if (!read) GTEST_SKIP() << "no build of halvorn.exe in the source tree";
}

// The NE tables: references are offsets into the imported-names table of length-prefixed names.
struct NeTables {
    Bytes references, importedNames{0};
    void Add(const std::string& name)
    {
        references.push_back(uint8_t(importedNames.size())), references.push_back(uint8_t(importedNames.size() >> 8));
        importedNames.push_back(uint8_t(name.size()));
        importedNames.insert(importedNames.end(), name.begin(), name.end());
    }
    std::vector<std::string> Parse(uint32_t count)
    {
        NameBlock names;
        const NeLayout layout = {0, 0, count};
        return Read(ParseNeModuleNames(layout, references.data(), references.size(), importedNames.data(),
                                       importedNames.size(), names.names()),
                    names.names());
    }
};

TEST(ParseNeModuleNames, SkipsSystemModulesByPrefixAndStaysInsideBothTables)
{
    NeTables tables;
    for (const char* name : {"USER", "gdi", "KERNEL", "USERX", "MYUSER", "US", "VBRUN300", "Fonts2", "THREED"})
        tables.Add(name);
    const std::vector<std::string> kept = {"MYUSER", "US", "VBRUN300", "THREED"};
    EXPECT_EQ(tables.Parse(9), kept);
    // A count above the references read stops at the references read.
    EXPECT_EQ(tables.Parse(500), kept);
    // A name whose length byte runs past the table, and a reference past it, are left out.
    tables.importedNames.push_back(40);
    tables.references.push_back(uint8_t(tables.importedNames.size() - 1)), tables.references.push_back(0);
    tables.references.push_back(0xFF), tables.references.push_back(0xFF);
    EXPECT_EQ(tables.Parse(11), kept);
}

TEST(ConflictRules, OnlyASuccessfulCopyIsFixedAndEveryRowFitsItsSlot)
{
    EXPECT_EQ(StatusOfModule(true, true), ConflictStatus::kFixed);
    EXPECT_EQ(StatusOfModule(true, false), ConflictStatus::kNotCopied);
    EXPECT_EQ(StatusOfModule(false, false), ConflictStatus::kSkipped);
    std::vector<char> slot(256);
    FormatConflictRow(slot.data(), slot.size(), "APP.EXE", ConflictStatus::kNotCopied, "VBRUN.DLL", "F:\\APPS");
    EXPECT_STREQ(slot.data(), "\x01YAPP.EXE\t\x01RNot copied\t\x01YVBRUN.DLL\t\x01YF:\\APPS");
    const std::string longText(600, 'D');
    FormatConflictRow(slot.data(), slot.size(), "APP.EXE", ConflictStatus::kSkipped, "A.DLL", longText.c_str());
    EXPECT_EQ(strlen(slot.data()), 255u);
    EXPECT_TRUE(IsApiSetName("API-MS-WIN-CORE-FILE-L1-1-0.dll"));
    EXPECT_TRUE(IsApiSetName("ext-ms-win-ntuser.dll"));
    EXPECT_FALSE(IsApiSetName("apims.dll"));
}

}  // namespace
