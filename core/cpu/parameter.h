#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "cpu/mem_field.h"
#include "cpu/memory_access.h"
#include "cpu/mnemonic_set.h"
#include "cpu/width.h"

namespace sps {

class CPU;
class Writer;
struct TimerRecord;
struct CounterRecord;

enum ParameterKind : int {
    PK_TEXT = 0,
    PK_CONSTANT = 1,
    PK_V = 2,
    PK_S = 3,
    PK_SM = 4,
    PK_M = 5,
    PK_E = 6,
    PK_A = 7,
    PK_TIMER = 8,
    PK_COUNTER = 9,
    PK_ACCUMULATOR = 10,
    PK_ANALOG_IN = 11,
    PK_ANALOG_OUT = 12,
    PK_POINTER = 13,
};

// Which accesses an operand supports, directly and at an index.
struct Capabilities {
    std::uint8_t direct = 0;
    std::uint8_t indexed = 0;
};

// A pointer value is this base plus a byte offset into area V.
inline constexpr std::uint32_t POINTER_BASE_V = 0x08000000;

// One operand of an instruction. Every access that a class does not support
// throws the "... not supported" message of its width; the capability masks
// say which ones succeed, so instructions can check them once at load time.
class Parameter {
public:
    Parameter(int kind, Capabilities capabilities) : kind_(kind), capabilities_(capabilities) {}
    virtual ~Parameter() = default;
    Parameter(const Parameter&) = delete;
    Parameter& operator=(const Parameter&) = delete;

    Capabilities capabilities() const { return capabilities_; }
    int kind() const { return kind_; }
    // The operand text with one leading blank (" E0.3", " 16#FF").
    virtual void printName(Writer& writer) const = 0;
    // printName, then " [bit:byte:word:dword]" with the readable widths.
    virtual void dump(Writer& writer);

    virtual int getBit();
    virtual int getByte();
    virtual int getWord();
    virtual std::uint32_t getLong();
    virtual float getReal();
    virtual void setBit(int value);
    virtual void setByte(int value);
    virtual void setWord(int value);
    virtual void setLong(std::uint32_t value);
    virtual void setReal(float value);

    virtual int getBitAt(int index);
    virtual int getByteAt(int index);
    virtual int getWordAt(int index);
    virtual std::uint32_t getLongAt(int index);
    virtual void setBitAt(int index, int value);
    virtual void setByteAt(int index, int value);
    virtual void setWordAt(int index, int value);
    virtual void setLongAt(int index, std::uint32_t value);

private:
    int kind_;
    Capabilities capabilities_;
};

// A bit of a memory area ("E0.3").
class BitParameter final : public Parameter {
public:
    BitParameter(MemField& area, int byteAddress, int bit, const char* areaName, int kind);

    void printName(Writer& writer) const override;
    // The image bit itself when its byte lies in the area (the usual case,
    // inlined where the class is known); the area's checks and messages
    // otherwise.
    int getBit() override { return direct_.read != nullptr ? direct_.get() : area_.readBit(byteAddress_, bit_); }
    void setBit(int value) override {
        if (direct_.write == nullptr) return area_.writeBit(byteAddress_, bit_, value);
        direct_.set(value);
    }
    int getBitAt(int index) override;
    void setBitAt(int index, int value) override;

    // The physical input through the bus, bypassing the input image (E only).
    int readImmediate(CPU& cpu);
    // The physical output through the bus, not the output image (A only).
    void writeImmediate(CPU& cpu, int value);
    // Writes value into n consecutive bits from this one upward.
    void setRange(int n, int value);
    // As setRange, each bit also written to the bus output of the same number.
    void setRangeImmediate(CPU& cpu, int n, int value);

    const MemField& area() const { return area_; }
    int byteAddress() const { return byteAddress_; }
    int bit() const { return bit_; }
    // The byte that reads and writes go straight to (null where they go
    // through the area) and the bit's mask in it.
    const BitAccess& directAccess() const { return direct_; }

private:
    MemField& area_;
    int byteAddress_;
    int bit_;
    const char* areaName_;
    BitAccess direct_;
};

// The four accessors of one width (the value and the value at an index,
// each read and written), served by `Operand`'s read(index) and
// write(index, value), where index 0 is the operand itself.
template <Width W, class Operand> class WidthAccessors;

template <class Operand> class WidthAccessors<Width::Byte, Operand> : public Parameter {
public:
    using Parameter::Parameter;
    int getByte() override { return static_cast<int>(self().read(0)); }
    void setByte(int value) override { self().write(0, static_cast<std::uint32_t>(value)); }
    int getByteAt(int index) override { return static_cast<int>(self().read(index)); }
    void setByteAt(int index, int value) override { self().write(index, static_cast<std::uint32_t>(value)); }

private:
    Operand& self() { return static_cast<Operand&>(*this); }
};

template <class Operand> class WidthAccessors<Width::Word, Operand> : public Parameter {
public:
    using Parameter::Parameter;
    int getWord() override { return static_cast<int>(self().read(0)); }
    void setWord(int value) override { self().write(0, static_cast<std::uint32_t>(value)); }
    int getWordAt(int index) override { return static_cast<int>(self().read(index)); }
    void setWordAt(int index, int value) override { self().write(index, static_cast<std::uint32_t>(value)); }

private:
    Operand& self() { return static_cast<Operand&>(*this); }
};

template <class Operand> class WidthAccessors<Width::Dword, Operand> : public Parameter {
public:
    using Parameter::Parameter;
    std::uint32_t getLong() override { return self().read(0); }
    void setLong(std::uint32_t value) override { self().write(0, value); }
    std::uint32_t getLongAt(int index) override { return self().read(index); }
    void setLongAt(int index, std::uint32_t value) override { self().write(index, value); }

private:
    Operand& self() { return static_cast<Operand&>(*this); }
};

// A byte, word or double word of a memory area ("VB100", "MW4", "VD0"),
// read and written directly or at an index counted in elements of its width.
template <Width W> class AreaParameter final : public WidthAccessors<W, AreaParameter<W>> {
public:
    AreaParameter(MemField& area, int address, const char* areaName, int kind);
    void printName(Writer& writer) const override;

    // The element `index` places on from this one (index 0: the operand).
    std::uint32_t read(int index);
    void write(int index, std::uint32_t value);

    const MemField& area() const { return area_; }
    // The byte address of the operand's highest byte.
    int address() const { return address_; }
    // The operand's bytes (highest first) that reads and writes go straight
    // to, or null where they go through the area.
    const std::uint8_t* directRead() const { return readAt_; }
    std::uint8_t* directWrite() const { return writeAt_; }

private:
    int elementAddress(int index) const;

    MemField& area_;
    int address_;
    const char* areaName_;
    const std::uint8_t* readAt_; // the operand's bytes, or null: reads go through the area
    std::uint8_t* writeAt_;      // the same for writes
};

extern template class AreaParameter<Width::Byte>;
extern template class AreaParameter<Width::Word>;
extern template class AreaParameter<Width::Dword>;

using ByteParameter = AreaParameter<Width::Byte>;
using WordParameter = AreaParameter<Width::Word>;
using LongParameter = AreaParameter<Width::Dword>;

// An integer constant, written in `base` (10 for decimal).
class NumParameter final : public Parameter {
public:
    NumParameter(std::int32_t value, int base);
    void printName(Writer& writer) const override;
    int getBit() override;
    int getByte() override;
    int getWord() override;
    std::uint32_t getLong() override;
    float getReal() override;

    std::int32_t value() const { return value_; }

private:
    std::int32_t value_;
    int base_;
};

// A real constant.
class FloatParameter final : public Parameter {
public:
    explicit FloatParameter(float value);
    void printName(Writer& writer) const override;
    std::uint32_t getLong() override;
    float getReal() override;

    float value() const { return value_; }

private:
    float value_;
};

// A timer: its bit (value reached the preset) and its value.
class TimerParameter final : public Parameter {
public:
    TimerParameter(TimerRecord& record, int number);
    void printName(Writer& writer) const override;
    int getBit() override;
    int getWord() override;
    // Only a reset (value 0) is allowed.
    void setBit(int value) override;
    void setWord(int value) override;

    TimerRecord& record() const { return record_; }
    int number() const { return number_; }

private:
    TimerRecord& record_;
    int number_;
};

// A counter: its bit (value reached the preset, signed) and its value.
class CounterParameter final : public Parameter {
public:
    CounterParameter(CounterRecord& record, int number, MnemonicSet shownAs = MnemonicSet::German);
    void printName(Writer& writer) const override;
    int getBit() override;
    int getWord() override;
    void setWord(int value) override;

    CounterRecord& record() const { return record_; }
    int number() const { return number_; }

private:
    CounterRecord& record_;
    int number_;
    MnemonicSet shownAs_;
};

// A text operand (a subroutine name).
class StringParameter final : public Parameter {
public:
    explicit StringParameter(std::string text);
    void printName(Writer& writer) const override;

    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// One of the accumulators AC0..AC3; byte and word writes keep the upper bits.
class AccumulatorParameter final : public Parameter {
public:
    AccumulatorParameter(std::uint32_t& accumulator, int number);
    void printName(Writer& writer) const override;
    int getByte() override;
    int getWord() override;
    std::uint32_t getLong() override;
    void setByte(int value) override;
    void setWord(int value) override;
    void setLong(std::uint32_t value) override;

private:
    std::uint32_t& accumulator_;
    int number_;
};

// An analog input word of the bus ("AEW0"; in the international set "AIW0",
// numbered by byte address: channel k is AIW(2k)); the index steps by two
// channels.
class AEParameter final : public Parameter {
public:
    AEParameter(CPU& cpu, int channel, MnemonicSet shownAs = MnemonicSet::German);
    void printName(Writer& writer) const override;
    int getWord() override;
    int getWordAt(int index) override;

    int channel() const { return channel_; }

private:
    CPU& cpu_;
    int channel_;
    MnemonicSet shownAs_;
};

// An analog output word of the bus ("AAW0"; "AQW0" as AIW).
class AAParameter final : public Parameter {
public:
    AAParameter(CPU& cpu, int channel, MnemonicSet shownAs = MnemonicSet::German);
    void printName(Writer& writer) const override;
    void setWord(int value) override;
    void setWordAt(int index, int value) override;

    int channel() const { return channel_; }

private:
    CPU& cpu_;
    int channel_;
    MnemonicSet shownAs_;
};

// The address of a V location as a pointer value ("&VB100").
class AddressParameter final : public Parameter {
public:
    AddressParameter(char areaLetter, char widthLetter, int address);
    void printName(Writer& writer) const override;
    std::uint32_t getLong() override;

private:
    char areaLetter_;
    char widthLetter_;
    int address_;
};

// An indirect operand ("*VD200"): the inner operand holds a pointer into V.
// The inner operand may itself be a pointer ("**VD200"); such chains are
// followed, named and released level by level, never by nested calls, so a
// long chain cannot exhaust the stack.
class PointerParameter final : public Parameter {
public:
    PointerParameter(CPU& cpu, std::unique_ptr<Parameter> inner);
    ~PointerParameter() override;
    void printName(Writer& writer) const override;
    int getByte() override;
    int getWord() override;
    std::uint32_t getLong() override;
    void setByte(int value) override;
    void setWord(int value) override;
    void setLong(std::uint32_t value) override;
    int getByteAt(int index) override;
    int getWordAt(int index) override;
    std::uint32_t getLongAt(int index) override;
    void setByteAt(int index, int value) override;
    void setWordAt(int index, int value) override;
    void setLongAt(int index, std::uint32_t value) override;

private:
    int offset(long long step);

    CPU& cpu_;
    std::unique_ptr<Parameter> inner_;
    Parameter* base_; // the innermost operand that is not a pointer
    int innerLevels_; // how many pointers lie between this one and base_
};

} // namespace sps
