#include <climits>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "cpu/mem_field.h"
#include "messages/latin1.h"
#include "support/error_text.h"

using namespace sps;

namespace {

const std::string OUT_OF_FIELD_READ = L1("Es wurde beim Lesen der zulässige Bereich überschritten");
const std::string OUT_OF_FIELD_WRITE = L1("Es wurde über den zulässigen Bereich hinaus geschrieben");
const std::string WRITE_PROTECTED = L1("Es wurde auf einen schreibgeschützen Bereich zu schreiben versucht");

TEST(MemField, StoresWordsAndDoubleWordsBigEndian) {
    MemField area(8, false);
    area.writeWord(0, 0x1234);
    EXPECT_EQ(area.readByte(0), 0x12);
    EXPECT_EQ(area.readByte(1), 0x34);
    EXPECT_EQ(area.readWord(0), 0x1234);

    area.writeDword(4, 0x11223344u);
    EXPECT_EQ(area.readByte(4), 0x11);
    EXPECT_EQ(area.readByte(7), 0x44);
    EXPECT_EQ(area.readDword(4), 0x11223344u);
    EXPECT_EQ(area.readWord(5), 0x2233);

    area.writeDword(0, 0xFFEEDDCCu);
    EXPECT_EQ(area.readDword(0), 0xFFEEDDCCu);
}

TEST(MemField, KeepsOnlyTheBitsOfTheWrittenWidth) {
    MemField area(8, false);
    area.writeByte(0, 0x1FF);
    EXPECT_EQ(area.readByte(0), 0xFF);
    area.writeWord(2, 0xABCDE);
    EXPECT_EQ(area.readWord(2), 0xBCDE);
    EXPECT_EQ(area.readByte(1), 0);
    area.writeByte(4, -1);
    EXPECT_EQ(area.readByte(4), 0xFF);
}

TEST(MemField, ReadsAndWritesSingleBits) {
    MemField area(8, false);
    area.writeBit(0, 3, 2); // any nonzero value sets
    EXPECT_EQ(area.readByte(0), 0x08);
    EXPECT_EQ(area.readBit(0, 3), 1);
    area.writeBit(0, 7, -1);
    EXPECT_EQ(area.readByte(0), 0x88);
    area.writeBit(0, 3, 0);
    EXPECT_EQ(area.readByte(0), 0x80);
    EXPECT_EQ(area.readBit(0, 3), 0);
    EXPECT_EQ(area.readBit(0, 7), 1);
}

TEST(MemField, RejectsEveryAccessOutsideTheArea) {
    MemField area(8, false);
    struct Case {
        const char* name;
        std::function<void()> access;
        const std::string& error;
    };
    const Case cases[] = {
        {"readByte(8)", [&] { area.readByte(8); }, OUT_OF_FIELD_READ},
        {"readByte(-1)", [&] { area.readByte(-1); }, OUT_OF_FIELD_READ},
        {"readByte(INT_MAX)", [&] { area.readByte(INT_MAX); }, OUT_OF_FIELD_READ},
        {"readBit(8, 0)", [&] { area.readBit(8, 0); }, OUT_OF_FIELD_READ},
        {"readWord(7)", [&] { area.readWord(7); }, OUT_OF_FIELD_READ},
        {"readWord(INT_MAX)", [&] { area.readWord(INT_MAX); }, OUT_OF_FIELD_READ},
        {"readDword(5)", [&] { area.readDword(5); }, OUT_OF_FIELD_READ},
        {"readDword(-2)", [&] { area.readDword(-2); }, OUT_OF_FIELD_READ},
        {"writeByte(8)", [&] { area.writeByte(8, 1); }, OUT_OF_FIELD_WRITE},
        {"writeByte(-1)", [&] { area.writeByte(-1, 1); }, OUT_OF_FIELD_WRITE},
        {"writeBit(8, 0)", [&] { area.writeBit(8, 0, 1); }, OUT_OF_FIELD_READ}, // reads the byte first
        {"writeBit(-1, 0)", [&] { area.writeBit(-1, 0, 0); }, OUT_OF_FIELD_READ},
        {"writeWord(INT_MAX)", [&] { area.writeWord(INT_MAX, 1); }, OUT_OF_FIELD_WRITE},
        {"writeDword(INT_MAX)", [&] { area.writeDword(INT_MAX, 1); }, OUT_OF_FIELD_WRITE},
    };
    for (const Case& c : cases) EXPECT_EQ(errorText(c.access), c.error) << c.name;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(area.readByte(i), 0) << "byte " << i;
}

TEST(MemField, WritesTheLeadingBytesOfAMultiByteWriteThatRunsPastTheEnd) {
    MemField area(8, false);
    EXPECT_EQ(errorText([&] { area.writeDword(6, 0x11223344u); }), OUT_OF_FIELD_WRITE);
    EXPECT_EQ(area.readByte(6), 0x11);
    EXPECT_EQ(area.readByte(7), 0x22);

    EXPECT_EQ(errorText([&] { area.writeWord(7, 0xABCD); }), OUT_OF_FIELD_WRITE);
    EXPECT_EQ(area.readByte(7), 0xAB);

    EXPECT_EQ(errorText([&] { area.writeWord(-1, 0xABCD); }), OUT_OF_FIELD_WRITE);
    EXPECT_EQ(area.readByte(0), 0);
}

TEST(MemField, ProtectedAreaRefusesEveryWriteButCanBeCleared) {
    MemField area(4, true);
    struct Case {
        const char* name;
        std::function<void()> write;
    };
    const Case cases[] = {
        {"writeBit", [&] { area.writeBit(0, 0, 1); }},  {"writeBit outside", [&] { area.writeBit(99, 0, 1); }},
        {"writeByte", [&] { area.writeByte(0, 1); }},   {"writeByte outside", [&] { area.writeByte(-5, 1); }},
        {"writeWord", [&] { area.writeWord(0, 1); }},   {"writeWord outside", [&] { area.writeWord(99, 1); }},
        {"writeDword", [&] { area.writeDword(0, 1); }}, {"writeDword outside", [&] { area.writeDword(99, 1); }},
    };
    for (const Case& c : cases) EXPECT_EQ(errorText(c.write), WRITE_PROTECTED) << c.name;
    EXPECT_EQ(area.readDword(0), 0u);
}

// A protected area that holds data, to see clear reach it.
class FilledProtectedField final : public MemField {
public:
    FilledProtectedField() : MemField(4, true) { rawBytes()[2] = 0x5A; }
};

TEST(MemField, ClearZeroesEvenAProtectedArea) {
    FilledProtectedField area;
    EXPECT_EQ(area.readByte(2), 0x5A);
    area.clear();
    EXPECT_EQ(area.readByte(2), 0);
}

TEST(SMField, DropsProgramWritesToItsReadOnlyBytes) {
    SMField sm(86);
    sm.systemWriteByte(29, 0x5A);
    sm.writeByte(29, 0xFF);
    EXPECT_EQ(sm.readByte(29), 0x5A);
    sm.writeBit(29, 0, 1);
    EXPECT_EQ(sm.readByte(29), 0x5A);
    sm.writeByte(0, 0xFF);
    EXPECT_EQ(sm.readByte(0), 0);

    sm.writeByte(30, 0xFF);
    EXPECT_EQ(sm.readByte(30), 0xFF);
    sm.writeWord(29, 0xABCD);
    EXPECT_EQ(sm.readByte(29), 0x5A);
    EXPECT_EQ(sm.readByte(30), 0xCD);
    sm.writeDword(28, 0x01020304u);
    EXPECT_EQ(sm.readByte(29), 0x5A);
    EXPECT_EQ(sm.readByte(30), 0x03);
    EXPECT_EQ(sm.readByte(31), 0x04);
}

TEST(SMField, SystemWritesReachEveryByteInside) {
    SMField sm(86);
    sm.systemWriteByte(6, 0x20);
    EXPECT_EQ(sm.readByte(6), 0x20);
    sm.systemWriteBit(0, 1, 1);
    sm.systemWriteBit(0, 5, 1);
    sm.systemWriteBit(0, 1, 0);
    EXPECT_EQ(sm.readByte(0), 0x20);
    sm.systemWriteByte(85, 0x1FF);
    EXPECT_EQ(sm.readByte(85), 0xFF);
}

TEST(SMField, RejectsAccessesBeyondItsEnd) {
    SMField sm(86);
    EXPECT_EQ(errorText([&] { sm.writeByte(86, 1); }), OUT_OF_FIELD_WRITE);
    EXPECT_EQ(errorText([&] { sm.systemWriteByte(86, 1); }), OUT_OF_FIELD_WRITE);
    EXPECT_EQ(errorText([&] { sm.systemWriteByte(-1, 1); }), OUT_OF_FIELD_WRITE);
    EXPECT_EQ(errorText([&] { sm.systemWriteBit(86, 0, 1); }), OUT_OF_FIELD_READ);
    EXPECT_EQ(errorText([&] { sm.readByte(86); }), OUT_OF_FIELD_READ);
}

} // namespace
