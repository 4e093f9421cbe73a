#include <bit>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/io.h"
#include "cpu/parameter.h"
#include "messages/latin1.h"
#include "support/error_text.h"
#include "support/fake_io_device.h"

using namespace sps;

namespace {

const std::string OUT_OF_FIELD_READ = L1("Es wurde beim Lesen der zulässige Bereich überschritten");
const std::string OUT_OF_FIELD_WRITE = L1("Es wurde über den zulässigen Bereich hinaus geschrieben");
const std::string POINTER_OUT_OF_RANGE = L1("Der angegebene Pointer zeigt in einen ungültigen Bereichen");
const std::string GETBIT_UNSUPPORTED = "Der Parametertyp kann nicht als Bit gelesen werden.";
const std::string GETBYTE_UNSUPPORTED = "Der Parametertyp kann nicht als Byte gelesen werden.";
const std::string GETWORD_UNSUPPORTED = "Der Parametertyp kann nicht als Word gelesen werden.";
const std::string GETLONG_UNSUPPORTED = "Der Parametertyp kann nicht als DWord gelesen werden.";
const std::string SETBIT_UNSUPPORTED = "Der Parametertyp kann nicht als Bit geschrieben werden.";
const std::string SETBYTE_UNSUPPORTED = "Der Parametertyp kann nicht als Byte geschrieben werden.";
const std::string SETWORD_UNSUPPORTED = "Der Parametertyp kann nicht als Word geschrieben werden.";
const std::string SETLONG_UNSUPPORTED = "Der Parametertyp kann nicht als DWord geschrieben werden.";

std::string nameOf(const Parameter& parameter) {
    StringWriter writer;
    parameter.printName(writer);
    return writer.text();
}

std::string dumpOf(Parameter& parameter) {
    StringWriter writer;
    parameter.dump(writer);
    return writer.text();
}

class ParameterTest : public ::testing::Test {
protected:
    CPU cpu;

    std::unique_ptr<PointerParameter> pointerOverVD(int address, std::uint32_t value) {
        cpu.areaV.writeDword(address, value);
        return std::make_unique<PointerParameter>(cpu, std::make_unique<LongParameter>(cpu.areaV, address, "V", PK_V));
    }
};

// ---- capabilities: the masks state exactly the accesses that succeed ----

struct OperandCase {
    const char* name;
    std::function<std::unique_ptr<Parameter>(CPU&)> make;
    int kind;
    Capabilities capabilities;
};

std::vector<OperandCase> everyOperandClass() {
    return {
        {"bit M0.1",
         [](CPU& c) { return std::make_unique<BitParameter>(c.areaM, 0, 1, "M", PK_M); },
         PK_M,
         {0x11, 0x11}},
        {"byte VB10",
         [](CPU& c) { return std::make_unique<ByteParameter>(c.areaV, 10, "V", PK_V); },
         PK_V,
         {0x22, 0x22}},
        {"word SW2", [](CPU& c) { return std::make_unique<WordParameter>(c.areaS, 2, "S", PK_S); }, PK_S, {0x44, 0x44}},
        {"dword SMD40",
         [](CPU& c) { return std::make_unique<LongParameter>(c.areaSM, 40, "SM", PK_SM); },
         PK_SM,
         {0x88, 0x88}},
        {"constant 5", [](CPU&) { return std::make_unique<NumParameter>(5, 10); }, PK_CONSTANT, {0x0F, 0x00}},
        {"real 1.5", [](CPU&) { return std::make_unique<FloatParameter>(1.5f); }, PK_CONSTANT, {0x08, 0x00}},
        {"timer T37",
         [](CPU& c) { return std::make_unique<TimerParameter>(c.timers[37], 37); },
         PK_TIMER,
         {0x55, 0x00}},
        {"counter Z5",
         [](CPU& c) { return std::make_unique<CounterParameter>(c.counters[5], 5); },
         PK_COUNTER,
         {0x45, 0x00}},
        {"text SBR0", [](CPU&) { return std::make_unique<StringParameter>("SBR0"); }, PK_TEXT, {0x00, 0x00}},
        {"AC1",
         [](CPU& c) { return std::make_unique<AccumulatorParameter>(c.accumulators[1], 1); },
         PK_ACCUMULATOR,
         {0xEE, 0x00}},
        {"AEW3", [](CPU& c) { return std::make_unique<AEParameter>(c, 3); }, PK_ANALOG_IN, {0x04, 0x04}},
        {"AAW4", [](CPU& c) { return std::make_unique<AAParameter>(c, 4); }, PK_ANALOG_OUT, {0x40, 0x40}},
        {"&VB100", [](CPU&) { return std::make_unique<AddressParameter>('V', 'B', 100); }, PK_CONSTANT, {0x08, 0x00}},
        {"*AC2",
         [](CPU& c) {
             c.accumulators[2] = POINTER_BASE_V + 200;
             return std::make_unique<PointerParameter>(c, std::make_unique<AccumulatorParameter>(c.accumulators[2], 2));
         },
         PK_POINTER,
         {0xEE, 0xEE}},
    };
}

struct Access {
    const char* name;
    bool indexed;
    std::uint8_t capability;
    const std::string& unsupported;
    std::function<void(Parameter&)> perform;
};

const std::vector<Access>& everyAccess() {
    static const std::vector<Access> accesses = {
        {"getBit", false, CAP_READ_BIT, GETBIT_UNSUPPORTED, [](Parameter& p) { p.getBit(); }},
        {"getByte", false, CAP_READ_BYTE, GETBYTE_UNSUPPORTED, [](Parameter& p) { p.getByte(); }},
        {"getWord", false, CAP_READ_WORD, GETWORD_UNSUPPORTED, [](Parameter& p) { p.getWord(); }},
        {"getLong", false, CAP_READ_DWORD, GETLONG_UNSUPPORTED, [](Parameter& p) { p.getLong(); }},
        {"getReal", false, CAP_READ_DWORD, GETLONG_UNSUPPORTED, [](Parameter& p) { p.getReal(); }},
        {"setBit(0)", false, CAP_WRITE_BIT, SETBIT_UNSUPPORTED, [](Parameter& p) { p.setBit(0); }},
        {"setByte", false, CAP_WRITE_BYTE, SETBYTE_UNSUPPORTED, [](Parameter& p) { p.setByte(1); }},
        {"setWord", false, CAP_WRITE_WORD, SETWORD_UNSUPPORTED, [](Parameter& p) { p.setWord(1); }},
        {"setLong", false, CAP_WRITE_DWORD, SETLONG_UNSUPPORTED, [](Parameter& p) { p.setLong(POINTER_BASE_V); }},
        {"setReal", false, CAP_WRITE_DWORD, SETLONG_UNSUPPORTED, [](Parameter& p) { p.setReal(1.0f); }},
        {"getBitAt", true, CAP_READ_BIT, GETBIT_UNSUPPORTED, [](Parameter& p) { p.getBitAt(1); }},
        {"getByteAt", true, CAP_READ_BYTE, GETBYTE_UNSUPPORTED, [](Parameter& p) { p.getByteAt(1); }},
        {"getWordAt", true, CAP_READ_WORD, GETWORD_UNSUPPORTED, [](Parameter& p) { p.getWordAt(1); }},
        {"getLongAt", true, CAP_READ_DWORD, GETLONG_UNSUPPORTED, [](Parameter& p) { p.getLongAt(1); }},
        {"setBitAt", true, CAP_WRITE_BIT, SETBIT_UNSUPPORTED, [](Parameter& p) { p.setBitAt(1, 1); }},
        {"setByteAt", true, CAP_WRITE_BYTE, SETBYTE_UNSUPPORTED, [](Parameter& p) { p.setByteAt(1, 1); }},
        {"setWordAt", true, CAP_WRITE_WORD, SETWORD_UNSUPPORTED, [](Parameter& p) { p.setWordAt(1, 1); }},
        {"setLongAt", true, CAP_WRITE_DWORD, SETLONG_UNSUPPORTED, [](Parameter& p) { p.setLongAt(1, 1); }},
    };
    return accesses;
}

TEST_F(ParameterTest, EveryClassHasItsKindAndCapabilityMasks) {
    for (const OperandCase& operand : everyOperandClass()) {
        SCOPED_TRACE(operand.name);
        const auto parameter = operand.make(cpu);
        EXPECT_EQ(parameter->kind(), operand.kind);
        EXPECT_EQ(parameter->capabilities().direct, operand.capabilities.direct);
        EXPECT_EQ(parameter->capabilities().indexed, operand.capabilities.indexed);
    }
}

TEST_F(ParameterTest, EveryAccessSucceedsExactlyWhereTheMaskAllowsIt) {
    for (const OperandCase& operand : everyOperandClass()) {
        for (const Access& access : everyAccess()) {
            SCOPED_TRACE(std::string(operand.name) + " " + access.name);
            const auto parameter = operand.make(cpu);
            const Capabilities caps = parameter->capabilities();
            const bool supported = ((access.indexed ? caps.indexed : caps.direct) & access.capability) != 0;
            EXPECT_EQ(errorText([&] { access.perform(*parameter); }), supported ? "" : access.unsupported);
        }
    }
}

// ---- memory operands ----

TEST_F(ParameterTest, ByteWordAndDoubleWordIndexStepByTheirWidth) {
    for (int i = 0; i < 32; ++i) cpu.areaV.writeByte(i, i);
    ByteParameter vb10(cpu.areaV, 10, "V", PK_V);
    WordParameter vw10(cpu.areaV, 10, "V", PK_V);
    LongParameter vd10(cpu.areaV, 10, "V", PK_V);

    EXPECT_EQ(vb10.getByteAt(3), 13);
    EXPECT_EQ(vb10.getByteAt(-10), 0);
    EXPECT_EQ(vw10.getWordAt(2), 0x0E0F);
    EXPECT_EQ(vw10.getWordAt(-1), 0x0809);
    EXPECT_EQ(vd10.getLongAt(1), 0x0E0F1011u);

    vb10.setByteAt(1, 0xAB);
    EXPECT_EQ(cpu.areaV.readByte(11), 0xAB);
    vw10.setWordAt(1, 0x1BEEF);
    EXPECT_EQ(cpu.areaV.readWord(12), 0xBEEF);
    vd10.setLongAt(1, 0xCAFEF00Du);
    EXPECT_EQ(cpu.areaV.readDword(14), 0xCAFEF00Du);
    EXPECT_EQ(cpu.areaV.readByte(13), 0xEF);

    EXPECT_EQ(errorText([&] { vb10.getByteAt(-11); }), OUT_OF_FIELD_READ);
    EXPECT_EQ(errorText([&] { vw10.getWordAt(-6); }), OUT_OF_FIELD_READ);
    EXPECT_EQ(errorText([&] { vd10.setLongAt(1022, 0); }), OUT_OF_FIELD_WRITE);
    EXPECT_EQ(errorText([&] { vd10.getLongAt(0x7FFFFFFF); }), OUT_OF_FIELD_READ);
}

// SM drops program writes below byte 30, so an address that runs past the int
// range upward must still count as far beyond the area, not as a low byte.
TEST_F(ParameterTest, IndexedWritesBeyondTheIntRangeFailAsFarOutsideTheArea) {
    ByteParameter smb40(cpu.areaSM, 40, "SM", PK_SM);
    WordParameter smw40(cpu.areaSM, 40, "SM", PK_SM);
    LongParameter smd40(cpu.areaSM, 40, "SM", PK_SM);
    EXPECT_EQ(errorText([&] { smb40.setByteAt(0x7FFFFFFF, 1); }), OUT_OF_FIELD_WRITE);
    EXPECT_EQ(errorText([&] { smw40.setWordAt(0x7FFFFFFF, 1); }), OUT_OF_FIELD_WRITE);
    EXPECT_EQ(errorText([&] { smd40.setLongAt(0x7FFFFFFF, 1); }), OUT_OF_FIELD_WRITE);
    // Below the int range the address is as low as any negative one: dropped.
    EXPECT_EQ(errorText([&] { smw40.setWordAt(-0x7FFFFFFF - 1, 1); }), "");
    EXPECT_EQ(errorText([&] { smb40.setByteAt(-41, 1); }), "");
}

TEST_F(ParameterTest, IndexedBitsCountOnAcrossByteBoundaries) {
    BitParameter m06(cpu.areaM, 0, 6, "M", PK_M);
    cpu.areaM.writeBit(1, 1, 1);
    EXPECT_EQ(m06.getBitAt(3), 1); // M1.1
    EXPECT_EQ(m06.getBitAt(2), 0);
    m06.setBitAt(10, 1); // M2.0
    EXPECT_EQ(cpu.areaM.readByte(2), 0x01);

    BitParameter m10(cpu.areaM, 1, 0, "M", PK_M);
    m10.setBitAt(-1, 1); // M0.7
    EXPECT_EQ(cpu.areaM.readByte(0), 0x80);
    EXPECT_EQ(m10.getBitAt(-8), 0); // M0.0
    EXPECT_EQ(errorText([&] { m10.getBitAt(-9); }), OUT_OF_FIELD_READ);
    EXPECT_EQ(errorText([&] { m10.setBitAt(-9, 1); }), OUT_OF_FIELD_READ);
    EXPECT_EQ(errorText([&] { m06.getBitAt(-7); }), OUT_OF_FIELD_READ);
    EXPECT_EQ(errorText([&] { m06.getBitAt(0x7FFFFFFF); }), OUT_OF_FIELD_READ);
}

TEST_F(ParameterTest, SetRangeWritesConsecutiveBitsUpward) {
    BitParameter a06(cpu.areaA, 0, 6, "A", PK_A);
    a06.setRange(4, 1);
    EXPECT_EQ(cpu.areaA.readByte(0), 0xC0);
    EXPECT_EQ(cpu.areaA.readByte(1), 0x03);
    a06.setRange(3, 0);
    EXPECT_EQ(cpu.areaA.readByte(0), 0x00);
    EXPECT_EQ(cpu.areaA.readByte(1), 0x02);
    a06.setRange(0, 1);
    a06.setRange(-3, 1);
    EXPECT_EQ(cpu.areaA.readByte(0), 0x00);

    BitParameter a74(cpu.areaA, 7, 4, "A", PK_A);
    EXPECT_EQ(errorText([&] { a74.setRange(5, 1); }), OUT_OF_FIELD_READ);
    EXPECT_EQ(cpu.areaA.readByte(7), 0xF0);
}

// Operands whose bytes lie inside their area reach them directly; at the
// edges of the areas (and of SM's read-only bytes) they must act exactly as
// the area's own operations: the same bytes written, the same values read,
// the same messages.
TEST_F(ParameterTest, OperandsAtTheAreaEdgesActAsTheAreaOperations) {
    using AreaOf = MemField& (*)(CPU&);
    const AreaOf v = [](CPU& c) -> MemField& { return c.areaV; };
    const AreaOf sm = [](CPU& c) -> MemField& { return c.areaSM; };
    const AreaOf e = [](CPU& c) -> MemField& { return c.areaE; };
    struct Case {
        const char* name;
        AreaOf area;
        int address;
        int bytes; // 0 for a bit
        int bit;
    };
    const Case cases[] = {
        {"VB4095", v, 4095, 1, 0}, {"VW4094", v, 4094, 2, 0}, {"VW4095", v, 4095, 2, 0}, {"VD4092", v, 4092, 4, 0},
        {"VD4093", v, 4093, 4, 0}, {"VB-1", v, -1, 1, 0},     {"SMB29", sm, 29, 1, 0},   {"SMW29", sm, 29, 2, 0},
        {"SMD27", sm, 27, 4, 0},   {"SMB30", sm, 30, 1, 0},   {"SM29.7", sm, 29, 0, 7},  {"SM30.0", sm, 30, 0, 0},
        {"E7.7", e, 7, 0, 7},      {"E8.0", e, 8, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPU viaOperand;
        CPU viaArea;
        MemField& area = c.area(viaOperand);
        MemField& reference = c.area(viaArea);
        for (int i = 0; i < area.size(); ++i) {
            area.writeByte(i, 0x5A);
            reference.writeByte(i, 0x5A);
        }
        std::unique_ptr<Parameter> operand;
        if (c.bytes == 0) operand = std::make_unique<BitParameter>(area, c.address, c.bit, "X", PK_V);
        if (c.bytes == 1) operand = std::make_unique<ByteParameter>(area, c.address, "X", PK_V);
        if (c.bytes == 2) operand = std::make_unique<WordParameter>(area, c.address, "X", PK_V);
        if (c.bytes == 4) operand = std::make_unique<LongParameter>(area, c.address, "X", PK_V);
        const std::uint32_t value = 0xA5C3E781u;
        std::uint32_t read = 0;
        std::uint32_t expected = 0;
        switch (c.bytes) {
        case 0:
            EXPECT_EQ(errorText([&] { operand->setBit(1); }),
                      errorText([&] { reference.writeBit(c.address, c.bit, 1); }));
            EXPECT_EQ(errorText([&] { read = static_cast<std::uint32_t>(operand->getBit()); }),
                      errorText([&] { expected = static_cast<std::uint32_t>(reference.readBit(c.address, c.bit)); }));
            break;
        case 1:
            EXPECT_EQ(errorText([&] { operand->setByte(static_cast<int>(value)); }),
                      errorText([&] { reference.writeByte(c.address, static_cast<int>(value & 0xFF)); }));
            EXPECT_EQ(errorText([&] { read = static_cast<std::uint32_t>(operand->getByte()); }),
                      errorText([&] { expected = static_cast<std::uint32_t>(reference.readByte(c.address)); }));
            break;
        case 2:
            EXPECT_EQ(errorText([&] { operand->setWord(static_cast<int>(value)); }),
                      errorText([&] { reference.writeWord(c.address, static_cast<int>(value & 0xFFFF)); }));
            EXPECT_EQ(errorText([&] { read = static_cast<std::uint32_t>(operand->getWord()); }),
                      errorText([&] { expected = static_cast<std::uint32_t>(reference.readWord(c.address)); }));
            break;
        default:
            EXPECT_EQ(errorText([&] { operand->setLong(value); }),
                      errorText([&] { reference.writeDword(c.address, value); }));
            EXPECT_EQ(errorText([&] { read = operand->getLong(); }),
                      errorText([&] { expected = reference.readDword(c.address); }));
        }
        EXPECT_EQ(read, expected);
        EXPECT_EQ(std::vector<std::uint8_t>(area.bytes(), area.bytes() + area.size()),
                  std::vector<std::uint8_t>(reference.bytes(), reference.bytes() + reference.size()));
    }
}

TEST_F(ParameterTest, WordAndByteWritesKeepOnlyTheirWidth) {
    WordParameter mw0(cpu.areaM, 0, "M", PK_M);
    mw0.setWord(0x12345);
    EXPECT_EQ(cpu.areaM.readWord(0), 0x2345);
    EXPECT_EQ(cpu.areaM.readByte(2), 0);
    ByteParameter mb4(cpu.areaM, 4, "M", PK_M);
    mb4.setByte(-1);
    EXPECT_EQ(mb4.getByte(), 0xFF);
}

TEST_F(ParameterTest, RealsAreTheBitsOfADoubleWord) {
    LongParameter vd0(cpu.areaV, 0, "V", PK_V);
    vd0.setReal(2.5f);
    EXPECT_EQ(vd0.getLong(), 0x40200000u);
    vd0.setLong(0x3F800000u);
    EXPECT_EQ(vd0.getReal(), 1.0f);

    AccumulatorParameter ac0(cpu.accumulators[0], 0);
    ac0.setReal(-2.0f);
    EXPECT_EQ(cpu.accumulators[0], 0xC0000000u);
    EXPECT_EQ(ac0.getReal(), -2.0f);

    WordParameter mw0(cpu.areaM, 0, "M", PK_M);
    EXPECT_EQ(errorText([&] { mw0.getReal(); }), GETLONG_UNSUPPORTED);
    EXPECT_EQ(errorText([&] { mw0.setReal(1.0f); }), SETLONG_UNSUPPORTED);
}

// ---- constants ----

TEST_F(ParameterTest, IntegerConstantsReadAtEveryWidth) {
    struct Case {
        std::int32_t value;
        int bit, byte, word;
        std::uint32_t dword;
        float real;
    };
    const Case cases[] = {
        {-1, 1, 255, 65535, 0xFFFFFFFFu, -1.0f},
        {5, 1, 5, 5, 5u, 5.0f},
        {0x12345678, 0, 0x78, 0x5678, 0x12345678u, 305419896.0f},
        {INT32_MIN, 0, 0, 0, 0x80000000u, -2147483648.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        NumParameter constant(c.value, 10);
        EXPECT_EQ(constant.getBit(), c.bit);
        EXPECT_EQ(constant.getByte(), c.byte);
        EXPECT_EQ(constant.getWord(), c.word);
        EXPECT_EQ(constant.getLong(), c.dword);
        EXPECT_EQ(constant.getReal(), c.real);
    }
}

TEST_F(ParameterTest, RealAndAddressConstantsReadAsDoubleWords) {
    FloatParameter one(1.0f);
    EXPECT_EQ(one.getLong(), 0x3F800000u);
    EXPECT_EQ(one.getReal(), 1.0f);
    AddressParameter vb100('V', 'B', 100);
    EXPECT_EQ(vb100.getLong(), POINTER_BASE_V + 100);
    EXPECT_EQ(vb100.getReal(), std::bit_cast<float>(POINTER_BASE_V + 100));
    AddressParameter mb0('M', 'B', 0);
    EXPECT_EQ(mb0.getLong(), 0u);
}

// ---- timers, counters, accumulators ----

TEST_F(ParameterTest, TimerBitComparesUnsignedAndCounterBitSigned) {
    TimerParameter t37(cpu.timers[37], 37);
    CounterParameter z5(cpu.counters[5], 5);
    EXPECT_EQ(t37.getBit(), 1);
    EXPECT_EQ(z5.getBit(), 1);

    struct Case {
        std::uint16_t value, preset;
        int timerBit, counterBit;
    };
    const Case cases[] = {
        {5, 10, 0, 0},          {10, 10, 1, 1},    {0x8000, 0x7FFF, 1, 0}, // -32768 < 32767 signed
        {0x7FFF, 0x8000, 0, 1}, {0, 0xFFFF, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " >= " << c.preset);
        cpu.timers[37].value = c.value;
        cpu.timers[37].preset = c.preset;
        cpu.counters[5].value = static_cast<std::int16_t>(c.value);
        cpu.counters[5].preset = static_cast<std::int16_t>(c.preset);
        EXPECT_EQ(t37.getBit(), c.timerBit);
        EXPECT_EQ(z5.getBit(), c.counterBit);
    }
}

TEST_F(ParameterTest, TimerAndCounterWordsAreTheLow16Bits) {
    TimerParameter t5(cpu.timers[5], 5);
    CounterParameter z0(cpu.counters[0], 0);
    t5.setWord(0x1FFFF);
    EXPECT_EQ(cpu.timers[5].value, 0xFFFF);
    EXPECT_EQ(t5.getWord(), 0xFFFF);
    z0.setWord(0x18000);
    EXPECT_EQ(cpu.counters[0].value, -32768);
    EXPECT_EQ(z0.getWord(), 0x8000);
    z0.setWord(-1);
    EXPECT_EQ(z0.getWord(), 0xFFFF);
}

TEST_F(ParameterTest, ATimerCanOnlyBeReset) {
    TimerRecord& record = cpu.timers[40];
    record.value = 77;
    record.preset = 100;
    record.running = true;
    TimerParameter t40(record, 40);
    EXPECT_EQ(errorText([&] { t40.setBit(1); }), L1("Ein Timer kann nur zurückgesetzt werden"));
    EXPECT_EQ(record.value, 77);
    EXPECT_TRUE(record.running);
    t40.setBit(0);
    EXPECT_EQ(record.value, 0);
    EXPECT_FALSE(record.running);
    EXPECT_EQ(record.preset, 100);
}

TEST_F(ParameterTest, AccumulatorByteAndWordWritesKeepTheUpperBits) {
    std::uint32_t& ac0 = cpu.accumulators[0];
    AccumulatorParameter accumulator(ac0, 0);
    ac0 = 0x1234;
    accumulator.setByte(0xAB);
    EXPECT_EQ(ac0, 0x12ABu);
    ac0 = 0xDEAD1234u;
    accumulator.setWord(7);
    EXPECT_EQ(ac0, 0xDEAD0007u);
    accumulator.setByte(0x1FF);
    EXPECT_EQ(ac0, 0xDEAD00FFu);
    accumulator.setWord(-1);
    EXPECT_EQ(ac0, 0xDEADFFFFu);
    EXPECT_EQ(accumulator.getByte(), 0xFF);
    EXPECT_EQ(accumulator.getWord(), 0xFFFF);
    accumulator.setLong(0x01020304u);
    EXPECT_EQ(accumulator.getLong(), 0x01020304u);
    EXPECT_EQ(accumulator.getWord(), 0x0304);
}

// ---- pointers ----

TEST_F(ParameterTest, PointerReachesVAtItsInnerValuePlusTheScaledIndex) {
    for (int i = 0; i < 16; ++i) cpu.areaV.writeByte(100 + i, 0xA0 + i);
    const auto pointer = pointerOverVD(0, POINTER_BASE_V + 100);
    EXPECT_EQ(pointer->getByte(), 0xA0);
    EXPECT_EQ(pointer->getByteAt(1), 0xA1);
    EXPECT_EQ(pointer->getWord(), 0xA0A1);
    EXPECT_EQ(pointer->getWordAt(1), 0xA2A3);
    EXPECT_EQ(pointer->getLongAt(1), 0xA4A5A6A7u);
    pointer->setByteAt(2, 0x11);
    EXPECT_EQ(cpu.areaV.readByte(102), 0x11);
    pointer->setWordAt(2, 0x12345);
    EXPECT_EQ(cpu.areaV.readWord(104), 0x2345);
    pointer->setLongAt(2, 0x01020304u);
    EXPECT_EQ(cpu.areaV.readDword(108), 0x01020304u);
    pointer->setLong(0xCAFEBABEu);
    EXPECT_EQ(cpu.areaV.readDword(100), 0xCAFEBABEu);
    EXPECT_EQ(cpu.areaV.readDword(0), POINTER_BASE_V + 100); // the pointer itself is unchanged
}

TEST_F(ParameterTest, PointerOutsideVFailsWithTheRightMessage) {
    struct Case {
        std::uint32_t value;
        std::function<void(PointerParameter&)> access;
        const std::string& error;
    };
    const Case cases[] = {
        {100, [](PointerParameter& p) { p.getByte(); }, POINTER_OUT_OF_RANGE},
        {POINTER_BASE_V - 1, [](PointerParameter& p) { p.getByte(); }, POINTER_OUT_OF_RANGE},
        {POINTER_BASE_V + 0x1000000, [](PointerParameter& p) { p.setWord(1); }, POINTER_OUT_OF_RANGE},
        {POINTER_BASE_V, [](PointerParameter& p) { p.getByteAt(-1); }, POINTER_OUT_OF_RANGE},
        {POINTER_BASE_V + 5000, [](PointerParameter& p) { p.getByte(); }, OUT_OF_FIELD_READ},
        {POINTER_BASE_V + 0xFFFFFF, [](PointerParameter& p) { p.getLong(); }, OUT_OF_FIELD_READ},
        {POINTER_BASE_V + 5000, [](PointerParameter& p) { p.setByte(1); }, OUT_OF_FIELD_WRITE},
        {POINTER_BASE_V + 4095, [](PointerParameter& p) { p.getByteAt(1); }, OUT_OF_FIELD_READ},
        {POINTER_BASE_V + 4094, [](PointerParameter& p) { p.getWord(); }, ""},
        {POINTER_BASE_V + 4094, [](PointerParameter& p) { p.getWordAt(1); }, OUT_OF_FIELD_READ},
        {0xFFFFFFFFu, [](PointerParameter& p) { p.getLongAt(0x7FFFFFFF); }, POINTER_OUT_OF_RANGE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const auto pointer = pointerOverVD(0, c.value);
        EXPECT_EQ(errorText([&] { c.access(*pointer); }), c.error);
    }
}

TEST_F(ParameterTest, PointerNeedsAnInnerOperandReadableAsDoubleWord) {
    EXPECT_EQ(errorText([&] { PointerParameter(cpu, nullptr); }),
              "Der angegebene Pointer ist leer und zeigt auf keinen g\xFCltigen Speicherbereich");
    EXPECT_EQ(errorText([&] { PointerParameter(cpu, std::make_unique<WordParameter>(cpu.areaV, 0, "V", PK_V)); }),
              "Der angegebene Parameter kann nicht als DWord gelesen werden.");
    EXPECT_EQ(errorText([&] { PointerParameter(cpu, std::make_unique<FloatParameter>(1.0f)); }), "");
}

TEST_F(ParameterTest, PointerOverAddressConstantReachesThatAddress) {
    cpu.areaV.writeByte(100, 42);
    PointerParameter pointer(cpu, std::make_unique<AddressParameter>('V', 'B', 100));
    EXPECT_EQ(pointer.getByte(), 42);
}

TEST_F(ParameterTest, PointerToPointerFollowsEachLevelThroughV) {
    cpu.areaV.writeDword(8, POINTER_BASE_V + 100);
    cpu.areaV.writeByte(100, 42);
    auto inner = pointerOverVD(0, POINTER_BASE_V + 8);
    PointerParameter outer(cpu, std::move(inner));
    EXPECT_EQ(nameOf(outer), " **VD0");
    EXPECT_EQ(outer.getByte(), 42);
    EXPECT_EQ(outer.getLong(), 0x2A000000u);
    outer.setByteAt(1, 7);
    EXPECT_EQ(cpu.areaV.readByte(101), 7);

    cpu.areaV.writeDword(8, 100); // the inner level now fails
    EXPECT_EQ(errorText([&] { outer.getByte(); }), POINTER_OUT_OF_RANGE);
}

TEST_F(ParameterTest, VeryLongPointerChainsNeitherExhaustTheStackNorMisread) {
    constexpr int levels = 200000;
    cpu.accumulators[0] = POINTER_BASE_V;
    cpu.areaV.writeDword(0, POINTER_BASE_V); // every level points at VD0 again
    std::unique_ptr<Parameter> chain = std::make_unique<AccumulatorParameter>(cpu.accumulators[0], 0);
    for (int level = 0; level < levels; ++level) chain = std::make_unique<PointerParameter>(cpu, std::move(chain));
    EXPECT_EQ(chain->getByte(), 0x08);
    const std::string name = nameOf(*chain);
    EXPECT_EQ(name, " " + std::string(levels, '*') + "AC0");
    chain.reset();
}

// ---- immediate access through the bus ----

class ImmediateTest : public ::testing::Test {
protected:
    FakeIODevice first{2, 2, 0, 0};
    FakeIODevice second{1, 1, 4, 8};
    IOBus bus;
    CPU cpu{bus};

    void SetUp() override {
        bus.setDevice(0, &first);
        bus.setDevice(3, &second);
    }
};

TEST_F(ImmediateTest, ReadImmediateReadsTheBusInputNotTheImage) {
    second.inputs[0] = 0x08;
    cpu.areaE.writeByte(2, 0xF7);
    BitParameter e23(cpu.areaE, 2, 3, "E", PK_E);
    EXPECT_EQ(e23.readImmediate(cpu), 1);
    first.inputs[1] = 0x01;
    EXPECT_EQ(BitParameter(cpu.areaE, 1, 0, "E", PK_E).readImmediate(cpu), 1);
    EXPECT_EQ(BitParameter(cpu.areaE, 5, 0, "E", PK_E).readImmediate(cpu), 0);
}

TEST_F(ImmediateTest, WriteImmediateWritesTheBusOutputNotTheImage) {
    BitParameter a12(cpu.areaA, 1, 2, "A", PK_A);
    a12.writeImmediate(cpu, 1);
    EXPECT_EQ(first.outputs[1], 0x04);
    EXPECT_EQ(cpu.areaA.readByte(1), 0);
    a12.writeImmediate(cpu, 0);
    EXPECT_EQ(first.outputs[1], 0x00);
    BitParameter a64(cpu.areaA, 6, 4, "A", PK_A); // unserved output byte
    a64.writeImmediate(cpu, 1);
    EXPECT_EQ(cpu.areaA.readByte(6), 0);
}

TEST_F(ImmediateTest, ImmediateAccessIsOnlyForInputsAndOutputs) {
    BitParameter m00(cpu.areaM, 0, 0, "M", PK_M);
    BitParameter e00(cpu.areaE, 0, 0, "E", PK_E);
    BitParameter a00(cpu.areaA, 0, 0, "A", PK_A);
    const std::string onlyE = L1("Die Operation unterstützt nur E als Parametertyp.");
    const std::string onlyA = L1("Es wird nur der Parametertyp A unterstützt.");
    EXPECT_EQ(errorText([&] { m00.readImmediate(cpu); }), onlyE);
    EXPECT_EQ(errorText([&] { a00.readImmediate(cpu); }), onlyE);
    EXPECT_EQ(errorText([&] { m00.writeImmediate(cpu, 1); }), onlyA);
    EXPECT_EQ(errorText([&] { e00.writeImmediate(cpu, 1); }), onlyA);
    EXPECT_EQ(first.outputs[0], 0);
}

TEST_F(ImmediateTest, SetRangeImmediateWritesImageAndBusBitByBit) {
    BitParameter a16(cpu.areaA, 1, 6, "A", PK_A);
    a16.setRangeImmediate(cpu, 4, 1);
    EXPECT_EQ(cpu.areaA.readByte(1), 0xC0);
    EXPECT_EQ(cpu.areaA.readByte(2), 0x03);
    EXPECT_EQ(first.outputs[1], 0xC0);
    EXPECT_EQ(second.outputs[0], 0x03);
    a16.setRangeImmediate(cpu, 3, 0);
    EXPECT_EQ(cpu.areaA.readByte(2), 0x02);
    EXPECT_EQ(second.outputs[0], 0x02);
}

TEST_F(ImmediateTest, AnalogWordsStepTwoChannelsPerIndex) {
    second.analogIn = {100, 101, 102, 103};
    AEParameter aew1(cpu, 1);
    EXPECT_EQ(aew1.getWord(), 101);
    EXPECT_EQ(aew1.getWordAt(1), 103);

    AAParameter aaw0(cpu, 0);
    aaw0.setWord(0x12345);
    EXPECT_EQ(second.analogOut[0], 0x2345);
    aaw0.setWordAt(2, -1);
    EXPECT_EQ(second.analogOut[4], 0xFFFF);
    aaw0.setWordAt(100, 1); // unserved channel: ignored
}

// ---- names and dumps ----

TEST_F(ParameterTest, PrintsEveryOperandAsWrittenWithALeadingBlank) {
    struct Case {
        std::function<std::unique_ptr<Parameter>()> make;
        const char* name;
    };
    const Case cases[] = {
        {[&] { return std::make_unique<BitParameter>(cpu.areaE, 0, 3, "E", PK_E); }, " E0.3"},
        {[&] { return std::make_unique<ByteParameter>(cpu.areaV, 100, "V", PK_V); }, " VB100"},
        {[&] { return std::make_unique<WordParameter>(cpu.areaM, 4, "M", PK_M); }, " MW4"},
        {[&] { return std::make_unique<LongParameter>(cpu.areaSM, 10, "SM", PK_SM); }, " SMD10"},
        {[] { return std::make_unique<NumParameter>(255, 16); }, " 16#FF"},
        {[] { return std::make_unique<NumParameter>(5, 2); }, " 2#101"},
        {[] { return std::make_unique<NumParameter>(-5, 10); }, " 4294967291"},
        {[] { return std::make_unique<NumParameter>(-1, 16); }, " 16#FFFFFFFF"},
        {[] { return std::make_unique<FloatParameter>(1.5f); }, " +1.5"},
        {[&] { return std::make_unique<TimerParameter>(cpu.timers[37], 37); }, " T37"},
        {[&] { return std::make_unique<CounterParameter>(cpu.counters[255], 255); }, " Z255"},
        {[] { return std::make_unique<StringParameter>("sbr_motor"); }, " sbr_motor"},
        {[&] { return std::make_unique<AccumulatorParameter>(cpu.accumulators[3], 3); }, " AC3"},
        {[&] { return std::make_unique<AEParameter>(cpu, 29); }, " AEW29"},
        {[&] { return std::make_unique<AAParameter>(cpu, 0); }, " AAW0"},
        {[] { return std::make_unique<AddressParameter>('V', 'B', 100); }, " &VB100"},
        {[&] {
             return std::make_unique<PointerParameter>(cpu, std::make_unique<LongParameter>(cpu.areaV, 200, "V", PK_V));
         },
         " *VD200"},
        {[&] {
             return std::make_unique<PointerParameter>(cpu,
                                                       std::make_unique<AccumulatorParameter>(cpu.accumulators[1], 1));
         },
         " *AC1"},
        {[&] { return std::make_unique<PointerParameter>(cpu, std::make_unique<AddressParameter>('V', 'D', 8)); },
         " *&VD8"},
    };
    for (const Case& c : cases) EXPECT_EQ(nameOf(*c.make()), c.name);
}

TEST_F(ParameterTest, DumpShowsEveryReadableWidth) {
    BitParameter m01(cpu.areaM, 0, 1, "M", PK_M);
    cpu.areaM.writeBit(0, 1, 1);
    EXPECT_EQ(dumpOf(m01), " M0.1 [1:::]");

    WordParameter mw4(cpu.areaM, 4, "M", PK_M);
    mw4.setWord(258);
    EXPECT_EQ(dumpOf(mw4), " MW4 [::258:]");

    NumParameter five(5, 10);
    EXPECT_EQ(dumpOf(five), " 5 [1:5:5:5]");
    NumParameter minusOne(-1, 10);
    EXPECT_EQ(dumpOf(minusOne), " 4294967295 [1:255:65535:4294967295]");

    cpu.timers[37].value = 3;
    cpu.timers[37].preset = 2;
    TimerParameter t37(cpu.timers[37], 37);
    EXPECT_EQ(dumpOf(t37), " T37 [1::3:]");

    StringParameter text("SBR0");
    EXPECT_EQ(dumpOf(text), " SBR0 [:::]");

    cpu.accumulators[2] = 0x89ABCDEFu;
    AccumulatorParameter ac2(cpu.accumulators[2], 2);
    EXPECT_EQ(dumpOf(ac2), " AC2 [:239:52719:2309737967]");
}

TEST_F(ParameterTest, DumpOfAnUnreadableOperandThrowsTheMemoryError) {
    ByteParameter vb5000(cpu.areaV, 5000, "V", PK_V);
    EXPECT_EQ(errorText([&] { dumpOf(vb5000); }), OUT_OF_FIELD_READ);
}

} // namespace
