#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/io.h"
#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "messages/latin1.h"
#include "support/error_text.h"
#include "support/fake_io_device.h"

using namespace sps;

namespace {

enum class Form {
    Bit,
    Byte,
    Word,
    Long,
    Num,
    Float,
    Timer,
    Counter,
    Text,
    Accumulator,
    AnalogIn,
    AnalogOut,
    Address,
    Pointer
};

Form formOf(const Parameter& p) {
    if (dynamic_cast<const BitParameter*>(&p)) return Form::Bit;
    if (dynamic_cast<const ByteParameter*>(&p)) return Form::Byte;
    if (dynamic_cast<const WordParameter*>(&p)) return Form::Word;
    if (dynamic_cast<const LongParameter*>(&p)) return Form::Long;
    if (dynamic_cast<const NumParameter*>(&p)) return Form::Num;
    if (dynamic_cast<const FloatParameter*>(&p)) return Form::Float;
    if (dynamic_cast<const TimerParameter*>(&p)) return Form::Timer;
    if (dynamic_cast<const CounterParameter*>(&p)) return Form::Counter;
    if (dynamic_cast<const StringParameter*>(&p)) return Form::Text;
    if (dynamic_cast<const AccumulatorParameter*>(&p)) return Form::Accumulator;
    if (dynamic_cast<const AEParameter*>(&p)) return Form::AnalogIn;
    if (dynamic_cast<const AAParameter*>(&p)) return Form::AnalogOut;
    if (dynamic_cast<const AddressParameter*>(&p)) return Form::Address;
    if (dynamic_cast<const PointerParameter*>(&p)) return Form::Pointer;
    ADD_FAILURE() << "unknown operand class";
    return Form::Text;
}

std::string nameOf(const Parameter& parameter) {
    StringWriter writer;
    parameter.printName(writer);
    return writer.text();
}

std::uint32_t bitsOf(float value) { return std::bit_cast<std::uint32_t>(value); }

struct ValidOperand {
    const char* text;
    Form form;
    int kind;
    const char* name;                   // as printName writes it
    std::optional<std::uint32_t> dword; // getLong of a constant
};

const ValidOperand validOperands[] = {
    // areas
    {"E0.7", Form::Bit, PK_E, " E0.7", {}},
    {"A1.0", Form::Bit, PK_A, " A1.0", {}},
    {"M.3", Form::Bit, PK_M, " M0.3", {}},
    {"V10.2", Form::Bit, PK_V, " V10.2", {}},
    {"S1.7", Form::Bit, PK_S, " S1.7", {}},
    {"SM0.1", Form::Bit, PK_SM, " SM0.1", {}},
    {"SB3", Form::Byte, PK_S, " SB3", {}},
    {"SMB6", Form::Byte, PK_SM, " SMB6", {}},
    {"EB01", Form::Byte, PK_E, " EB1", {}},
    {"VB5000", Form::Byte, PK_V, " VB5000", {}},
    {"VB99999999999", Form::Byte, PK_V, " VB2147483647", {}},
    {"MW4", Form::Word, PK_M, " MW4", {}},
    {"AW0", Form::Word, PK_A, " AW0", {}},
    {"VD100", Form::Long, PK_V, " VD100", {}},
    {"SMD22", Form::Long, PK_SM, " SMD22", {}},
    // texts
    {"SBR0", Form::Text, PK_TEXT, " SBR0", {}},
    {"SBR", Form::Text, PK_TEXT, " SBR", {}},
    {"sbr_motor", Form::Text, PK_TEXT, " sbr_motor", {}},
    {"x+*&#", Form::Text, PK_TEXT, " x+*&#", {}},
    // registers, timers, counters, analog channels
    {"AC0", Form::Accumulator, PK_ACCUMULATOR, " AC0", {}},
    {"AC3", Form::Accumulator, PK_ACCUMULATOR, " AC3", {}},
    {"AEW29", Form::AnalogIn, PK_ANALOG_IN, " AEW29", {}},
    {"AEW0", Form::AnalogIn, PK_ANALOG_IN, " AEW0", {}},
    {"AAW29", Form::AnalogOut, PK_ANALOG_OUT, " AAW29", {}},
    {"T0", Form::Timer, PK_TIMER, " T0", {}},
    {"T127", Form::Timer, PK_TIMER, " T127", {}},
    {"Z255", Form::Counter, PK_COUNTER, " Z255", {}},
    {"Z007", Form::Counter, PK_COUNTER, " Z7", {}},
    // integers
    {"16#FF", Form::Num, PK_CONSTANT, " 16#FF", 255},
    {"16#ff", Form::Num, PK_CONSTANT, " 16#FF", 255},
    {"2#101", Form::Num, PK_CONSTANT, " 2#101", 5},
    {"35#Y", Form::Num, PK_CONSTANT, " 35#Y", 34},
    {"16#", Form::Num, PK_CONSTANT, " 16#0", 0},
    {"+16#10", Form::Num, PK_CONSTANT, " 16#10", 16},
    {"16#1FFFFFFFF", Form::Num, PK_CONSTANT, " 16#FFFFFFFF", 0xFFFFFFFFu},
    {"0", Form::Num, PK_CONSTANT, " 0", 0},
    {"-5", Form::Num, PK_CONSTANT, " 4294967291", static_cast<std::uint32_t>(-5)},
    {"+5", Form::Num, PK_CONSTANT, " 5", 5},
    {"+-5", Form::Num, PK_CONSTANT, " 4294967291", static_cast<std::uint32_t>(-5)},
    {"+", Form::Num, PK_CONSTANT, " 0", 0},
    {"4294967295", Form::Num, PK_CONSTANT, " 4294967295", 0xFFFFFFFFu},
    {"4294967296", Form::Num, PK_CONSTANT, " 0", 0},
    {"-2147483648", Form::Num, PK_CONSTANT, " 2147483648", 0x80000000u},
    {"-4294967295", Form::Num, PK_CONSTANT, " 1", 1},
    // reals
    {"1.5", Form::Float, PK_CONSTANT, " +1.5", bitsOf(1.5f)},
    {"1e3", Form::Float, PK_CONSTANT, " +1000", bitsOf(1000.0f)},
    {"1E+3", Form::Float, PK_CONSTANT, " +1000", bitsOf(1000.0f)},
    {"-2.5", Form::Float, PK_CONSTANT, " -2.5", bitsOf(-2.5f)},
    {"+1.", Form::Float, PK_CONSTANT, " +1", bitsOf(1.0f)},
    {"+.5", Form::Float, PK_CONSTANT, " +0.5", bitsOf(0.5f)},
    {"0.1", Form::Float, PK_CONSTANT, " +0.1", bitsOf(0.1f)},
    {"-0.0", Form::Float, PK_CONSTANT, " -0", bitsOf(-0.0f)},
    {"+INF", Form::Float, PK_CONSTANT, " +INF", bitsOf(INFINITY)},
    {"-INF", Form::Float, PK_CONSTANT, " -INF", bitsOf(-INFINITY)},
    {"1e50", Form::Float, PK_CONSTANT, " +INF", bitsOf(INFINITY)},
    {"-1e50", Form::Float, PK_CONSTANT, " -INF", bitsOf(-INFINITY)},
    {"1e-50", Form::Float, PK_CONSTANT, " +0", bitsOf(0.0f)},
    {"-1e-50", Form::Float, PK_CONSTANT, " -0", bitsOf(-0.0f)},
    {"0.00000000000000000000000000000000000000000000000000001", Form::Float, PK_CONSTANT, " +0", bitsOf(0.0f)},
    {"100000000000000000000000000000000000000000000000000000.0", Form::Float, PK_CONSTANT, " +INF", bitsOf(INFINITY)},
    {"0.0000000000000000000000000000000000000000000000000001e60", Form::Float, PK_CONSTANT, " +1E+08", bitsOf(1e8f)},
    // addresses and pointers
    {"&VB100", Form::Address, PK_CONSTANT, " &VB100", POINTER_BASE_V + 100},
    {"&VD4", Form::Address, PK_CONSTANT, " &VD4", POINTER_BASE_V + 4},
    {"*VD100", Form::Pointer, PK_POINTER, " *VD100", {}},
    {"*AC1", Form::Pointer, PK_POINTER, " *AC1", {}},
    {"*&VB100", Form::Pointer, PK_POINTER, " *&VB100", {}},
    {"**VD0", Form::Pointer, PK_POINTER, " **VD0", {}},
    {"*1000", Form::Pointer, PK_POINTER, " *1000", {}},
};

const std::string ADDRESS_EXPECTED = "Es wird eine Adresse erwartet";
const std::string BIT_ADDRESS_MISSING = "Es wird eine Bitnummer erwartet";
const std::string BIT_OUT_OF_RANGE = "Die Bitnummer ist nicht im Bereich von 0 bis 7";
const std::string BIT_SYNTAX = L1("Die angegebene Bitaddresse enthält nicht erlaube Zeichen");
const std::string WRONG_PARAMETER_ADDRESS = L1("Der angegeben Parameter enthält nicht erlaubte Zeichen");
const std::string UNKNOWN_AC = "Nichtvorhandener Akkumulator angegeben";
const std::string UNKNOWN_TYPE = "Der angegeben Parameter ist dem Simulator unbekannt.";
const std::string NUMBER_EXPECTED = "Es wurde ein Zahl erwartet";
const std::string WRONG_AE_AA = "Es liegt ein Fehler in der AE/AA -Addresse vor";
const std::string PORT_NOT_PRESENT = "Der angegeben Analog Ein/Ausgang exsisitiert nicht";
const std::string TIMER_NOT_PRESENT = "Der angegebe Timer exisitert nicht";
const std::string COUNTER_NOT_PRESENT = L1("Der angegebene Zähler exisitert nicht");
const std::string WRONG_TIMER_COUNTER = L1("Der angegeben Parameter kann nicht als Zähler/Timername erkannt werden");
const std::string WRONG_BASE =
    L1("Es ist eine falsche Basis angegeben worden. (Es wird ein Wert von 2 bis 35 unterstützt.)");
const std::string NUMBER_SYNTAX = L1("Die angegebene Zahl enthält ungültige Zeichen");
const std::string FLOAT_FORMAT = L1("Die vorliegende Gleitkommazahl enthählt ungültige Zeichen");
const std::string NOT_FOR_POINTER = L1("Der angegebene Parameterart wird nicht für Pointer unterstützt.");
const std::string WRONG_POINTER_FORMAT = L1("Es wurde eine ungültige Pointeraddresse gefunden");
const std::string POINTER_ADDRESS_EXPECTED = L1("Es wird für den Pointer-eine Adresse erwartet");
const std::string WRONG_POINTER_ADDRESS = L1("Die Pointeraddresse enthält ungültige Zeichen");
const std::string CANT_READ_DWORD = "Der angegebene Parameter kann nicht als DWord gelesen werden.";

struct InvalidOperand {
    const char* text;
    const std::string& error;
};

const InvalidOperand invalidOperands[] = {
    // area addresses
    {"E", ADDRESS_EXPECTED},
    {"EB", ADDRESS_EXPECTED},
    {"SB", ADDRESS_EXPECTED},
    {"SM", ADDRESS_EXPECTED},
    {"SMW", ADDRESS_EXPECTED},
    {"S", ADDRESS_EXPECTED},
    {"EB1x", WRONG_PARAMETER_ADDRESS},
    {"VWx", WRONG_PARAMETER_ADDRESS},
    {"MD4.0", WRONG_PARAMETER_ADDRESS},
    {"E0", BIT_ADDRESS_MISSING},
    {"AE0", BIT_ADDRESS_MISSING},
    {"AA0.0", BIT_ADDRESS_MISSING},
    {"Mx.0", BIT_ADDRESS_MISSING},
    {"E0.8", BIT_OUT_OF_RANGE},
    {"E0.", BIT_OUT_OF_RANGE},
    {"E.", BIT_OUT_OF_RANGE},
    {"E0.x", BIT_OUT_OF_RANGE},
    {"E0.10", BIT_SYNTAX},
    {"E0.0.0", BIT_SYNTAX},
    // accumulators
    {"AC4", UNKNOWN_AC},
    {"AC", UNKNOWN_AC},
    {"AC12", UNKNOWN_AC},
    {"AC03", UNKNOWN_AC},
    {"ACx", UNKNOWN_AC},
    // analog channels
    {"AEW30", PORT_NOT_PRESENT},
    {"AAW30", PORT_NOT_PRESENT},
    {"AEW4294967297", PORT_NOT_PRESENT}, // 2^32 + 1: compared on the full value
    {"AEW", NUMBER_EXPECTED},
    {"AAW", NUMBER_EXPECTED},
    {"AEW1x", WRONG_AE_AA},
    {"AAWx", WRONG_AE_AA},
    // timers and counters
    {"T128", TIMER_NOT_PRESENT},
    {"T4294967301", TIMER_NOT_PRESENT}, // 2^32 + 5
    {"T99999999999999999999999", TIMER_NOT_PRESENT},
    {"Z256", COUNTER_NOT_PRESENT},
    {"Z4294967296", COUNTER_NOT_PRESENT},
    {"T", NUMBER_EXPECTED},
    {"Z", NUMBER_EXPECTED},
    {"T1a", WRONG_TIMER_COUNTER},
    {"Z.1", WRONG_TIMER_COUNTER},
    // unknown letters
    {"C5", UNKNOWN_TYPE},
    {"I0.0", UNKNOWN_TYPE},
    {"Q0.0", UNKNOWN_TYPE},
    {".5", UNKNOWN_TYPE},
    {"#1", UNKNOWN_TYPE},
    {"*", UNKNOWN_TYPE},
    // integers
    {"36#1", WRONG_BASE},
    {"1#1", WRONG_BASE},
    {"0#1", WRONG_BASE},
    {"#", UNKNOWN_TYPE},
    {"+#5", WRONG_BASE},
    {"4294967312#1", WRONG_BASE}, // 2^32 + 16
    {"16#FG", NUMBER_SYNTAX},
    {"2#102", NUMBER_SYNTAX},
    {"16#F#", NUMBER_SYNTAX},
    {"-", NUMBER_SYNTAX},
    {"-16#F", NUMBER_SYNTAX},
    {"--5", NUMBER_SYNTAX},
    {"-5x", NUMBER_SYNTAX},
    {"12a", NUMBER_SYNTAX},
    {"1.5#2", NUMBER_SYNTAX},
    {"1E#5", NUMBER_SYNTAX},
    {"+inf", NUMBER_SYNTAX},
    // reals
    {"1.5x", FLOAT_FORMAT},
    {"1.2.3", FLOAT_FORMAT},
    {"1E", FLOAT_FORMAT},
    {"-E", FLOAT_FORMAT},
    {"+-1.5", FLOAT_FORMAT},
    {"1INF", FLOAT_FORMAT},
    {"1NAN", FLOAT_FORMAT},
    {"1,5", NUMBER_SYNTAX},
    // addresses
    {"&V", WRONG_POINTER_FORMAT},
    {"&VX1", WRONG_POINTER_FORMAT},
    {"&VB", POINTER_ADDRESS_EXPECTED},
    {"&VD", POINTER_ADDRESS_EXPECTED},
    {"&VB1x", WRONG_POINTER_ADDRESS},
    {"&VBx", WRONG_POINTER_ADDRESS},
    {"&MB0", NOT_FOR_POINTER},
    {"&", NOT_FOR_POINTER},
    // pointers pass the errors of their inner operand on
    {"*VB100", CANT_READ_DWORD},
    {"*MW0", CANT_READ_DWORD},
    {"*T1", CANT_READ_DWORD},
    {"**VB100", CANT_READ_DWORD},
    {"*AC4", UNKNOWN_AC},
    {"*&MB0", NOT_FOR_POINTER},
};

class OperandParserTest : public ::testing::Test {
protected:
    CPU cpu;
};

TEST_F(OperandParserTest, ValidOperandsMakeTheirFormWithTheirValue) {
    for (const ValidOperand& row : validOperands) {
        SCOPED_TRACE(row.text);
        std::unique_ptr<Parameter> parameter;
        ASSERT_EQ(errorText([&] { parameter = parseOperand(cpu, row.text); }), "");
        ASSERT_NE(parameter, nullptr);
        EXPECT_EQ(formOf(*parameter), row.form);
        EXPECT_EQ(parameter->kind(), row.kind);
        EXPECT_EQ(nameOf(*parameter), row.name);
        if (row.dword) {
            EXPECT_EQ(parameter->getLong(), *row.dword);
        }
    }
}

TEST_F(OperandParserTest, InvalidOperandsFailWithTheirMessage) {
    for (const InvalidOperand& row : invalidOperands) {
        EXPECT_EQ(errorText([&] { parseOperand(cpu, row.text); }), row.error) << row.text;
    }
}

TEST_F(OperandParserTest, NotANumberIsARealConstant) {
    for (const char* text : {"+NAN", "-NAN"}) {
        SCOPED_TRACE(text);
        const auto parameter = parseOperand(cpu, text);
        EXPECT_TRUE(std::isnan(parameter->getReal()));
        EXPECT_EQ(std::signbit(parameter->getReal()), text[0] == '-');
    }
}

TEST_F(OperandParserTest, AreaOperandsAddressTheirArea) {
    struct Case {
        const char* text;
        std::function<void(Parameter&)> write;
        MemField& area;
        int byte;
        int expected;
    };
    const Case cases[] = {
        {"E0.7", [](Parameter& p) { p.setBit(1); }, cpu.areaE, 0, 0x80},
        {"A7.0", [](Parameter& p) { p.setBit(1); }, cpu.areaA, 7, 0x01},
        {"M.3", [](Parameter& p) { p.setBit(1); }, cpu.areaM, 0, 0x08},
        {"V4095.1", [](Parameter& p) { p.setBit(1); }, cpu.areaV, 4095, 0x02},
        {"S15.6", [](Parameter& p) { p.setBit(1); }, cpu.areaS, 15, 0x40},
        {"SM30.0", [](Parameter& p) { p.setBit(1); }, cpu.areaSM, 30, 0x01},
        {"SB3", [](Parameter& p) { p.setByte(0xAB); }, cpu.areaS, 3, 0xAB},
        {"SMB60", [](Parameter& p) { p.setByte(0xAB); }, cpu.areaSM, 60, 0xAB},
        {"MW4", [](Parameter& p) { p.setWord(0x1234); }, cpu.areaM, 5, 0x34},
        {"VD100", [](Parameter& p) { p.setLong(0x11223344u); }, cpu.areaV, 103, 0x44},
        {"*AC1", [](Parameter& p) { p.setByte(0x5A); }, cpu.areaV, 9, 0x5A},
    };
    cpu.accumulators[1] = POINTER_BASE_V + 9;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parameter = parseOperand(cpu, c.text);
        c.write(*parameter);
        EXPECT_EQ(c.area.readByte(c.byte), c.expected);
    }
    cpu.areaSM.systemWriteByte(6, 0x20);
    EXPECT_EQ(parseOperand(cpu, "SMB6")->getByte(), 0x20);
}

TEST_F(OperandParserTest, AddressesBeyondTheAreaParseAndFailOnAccess) {
    const std::string outOfFieldRead = L1("Es wurde beim Lesen der zulässige Bereich überschritten");
    for (const char* text : {"VB5000", "VB4096", "E8.0", "VB99999999999", "VD4094", "SMW85"}) {
        SCOPED_TRACE(text);
        std::unique_ptr<Parameter> parameter;
        ASSERT_EQ(errorText([&] { parameter = parseOperand(cpu, text); }), "");
        const std::uint8_t direct = parameter->capabilities().direct;
        EXPECT_EQ(errorText([&] {
                      if (direct & CAP_READ_BIT) parameter->getBit();
                      if (direct & CAP_READ_BYTE) parameter->getByte();
                      if (direct & CAP_READ_WORD) parameter->getWord();
                      if (direct & CAP_READ_DWORD) parameter->getLong();
                  }),
                  outOfFieldRead);
    }
}

TEST_F(OperandParserTest, TimersCountersAndAccumulatorsAreTheCpusOwn) {
    const auto t127 = parseOperand(cpu, "T127");
    const auto z255 = parseOperand(cpu, "Z255");
    EXPECT_EQ(&dynamic_cast<TimerParameter&>(*t127).record(), &cpu.timers[127]);
    EXPECT_EQ(&dynamic_cast<CounterParameter&>(*z255).record(), &cpu.counters[255]);
    EXPECT_EQ(dynamic_cast<TimerParameter&>(*t127).number(), 127);
    cpu.accumulators[3] = 0xCAFEBABEu;
    EXPECT_EQ(parseOperand(cpu, "AC3")->getLong(), 0xCAFEBABEu);
}

TEST_F(OperandParserTest, AnalogOperandsReachTheBusAtEachAccess) {
    FakeIODevice device(0, 0, 4, 4);
    IOBus bus;
    CPU wired(bus);
    const auto aew2 = parseOperand(wired, "AEW2");
    const auto aaw1 = parseOperand(wired, "AAW1");
    bus.setDevice(0, &device); // after parsing: nothing is read or bound early
    device.analogIn = {10, 11, 12, 13};
    EXPECT_EQ(aew2->getWord(), 12);
    aaw1->setWord(77);
    EXPECT_EQ(device.analogOut[1], 77);
}

TEST_F(OperandParserTest, PointerChainsOfAnyLengthParse) {
    const std::string text = std::string(100000, '*') + "VD0";
    std::unique_ptr<Parameter> parameter;
    ASSERT_EQ(errorText([&] { parameter = parseOperand(cpu, text); }), "");
    EXPECT_EQ(nameOf(*parameter), " " + text);
    cpu.areaV.writeDword(0, POINTER_BASE_V);
    EXPECT_EQ(parameter->getByte(), 0x08);
    const std::string tooDeepByte = std::string(100000, '*') + "VB0";
    EXPECT_EQ(errorText([&] { parseOperand(cpu, tooDeepByte); }), CANT_READ_DWORD);
}

TEST(DigitValue, GivesDigitsAndLettersOfEitherCaseTheirValue) {
    struct Case {
        char c;
        int value;
    };
    const Case cases[] = {
        {'0', 0},  {'9', 9},  {'A', 10},  {'F', 15}, {'Z', 35}, {'a', 10},
        {'z', 35}, {'/', -1}, {':', -1},  {'@', -1}, {'[', -1}, {'`', -1},
        {'{', -1}, {'#', -1}, {'\0', -1}, {' ', -1}, {'.', -1}, {static_cast<char>(0xC4), -1},
    };
    for (const Case& c : cases) EXPECT_EQ(digitValue(c.c), c.value) << "character " << static_cast<int>(c.c);
}

} // namespace

// The set that an operand's letters belong to, from the one letter table.
TEST(OperandLettersTest, NameTheSetOfTheLongestLettersAnOperandStartsWith) {
    const std::pair<const char*, std::optional<MnemonicSet>> cases[] = {
        {"E0.0", MnemonicSet::German},
        {"A0.1", MnemonicSet::German},
        {"Z3", MnemonicSet::German},
        {"AEW0", MnemonicSet::German},
        {"AAW2", MnemonicSet::German},
        {"I0.0", MnemonicSet::International},
        {"Q0.1", MnemonicSet::International},
        {"C3", MnemonicSet::International},
        {"AIW0", MnemonicSet::International},
        {"AQW2", MnemonicSet::International},
        {"**AIW0", MnemonicSet::International},
        {"AC0", std::nullopt},
        {"MB0", std::nullopt},
        {"SM0.1", std::nullopt},
        {"T37", std::nullopt},
        {"16#FF", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, set] : cases) EXPECT_EQ(operandLetters(text), set) << text;
}
