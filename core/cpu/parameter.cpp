#include "cpu/parameter.h"

#include <bit>

#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/io.h"
#include "cpu/mem_field.h"
#include "messages/cpu_exception.h"

namespace sps {

// ---- Parameter: every access unsupported unless a class overrides it ----

void Parameter::dump(Writer& writer) {
    const std::uint8_t direct = capabilities().direct;
    printName(writer);
    writer.putString(" [");
    if (direct & CAP_READ_BIT) writer.putInt(getBit());
    writer.putChar(':');
    if (direct & CAP_READ_BYTE) writer.putInt(getByte());
    writer.putChar(':');
    if (direct & CAP_READ_WORD) writer.putInt(getWord());
    writer.putChar(':');
    if (direct & CAP_READ_DWORD) writer.putUnsigned(getLong());
    writer.putChar(']');
}

int Parameter::getBit() { throwMessage("getbit not supported"); }
int Parameter::getByte() { throwMessage("getbyte not supported"); }
int Parameter::getWord() { throwMessage("getword not supported"); }
std::uint32_t Parameter::getLong() { throwMessage("getlong not supported"); }
float Parameter::getReal() { return std::bit_cast<float>(getLong()); }
void Parameter::setBit(int) { throwMessage("setbit not supported"); }
void Parameter::setByte(int) { throwMessage("setbyte not supported"); }
void Parameter::setWord(int) { throwMessage("setword not supported"); }
void Parameter::setLong(std::uint32_t) { throwMessage("setlong not supported"); }
void Parameter::setReal(float value) { setLong(std::bit_cast<std::uint32_t>(value)); }
int Parameter::getBitAt(int) { throwMessage("getbit not supported"); }
int Parameter::getByteAt(int) { throwMessage("getbyte not supported"); }
int Parameter::getWordAt(int) { throwMessage("getword not supported"); }
std::uint32_t Parameter::getLongAt(int) { throwMessage("getlong not supported"); }
void Parameter::setBitAt(int, int) { throwMessage("setbit not supported"); }
void Parameter::setByteAt(int, int) { throwMessage("setbyte not supported"); }
void Parameter::setWordAt(int, int) { throwMessage("setword not supported"); }
void Parameter::setLongAt(int, std::uint32_t) { throwMessage("setlong not supported"); }

namespace {

// Capability masks of the operand classes.
constexpr std::uint8_t NONE = 0;
constexpr std::uint8_t BIT = CAP_READ_BIT | CAP_WRITE_BIT;
constexpr std::uint8_t READ_ANY = CAP_READ_BIT | CAP_READ_BYTE | CAP_READ_WORD | CAP_READ_DWORD;
// Byte, word and double word, each read and written.
constexpr std::uint8_t NUMBERS =
    readWriteCapability(Width::Byte) | readWriteCapability(Width::Word) | readWriteCapability(Width::Dword);

// Byte and bit of the bit position `position`, rounding towards minus infinity
// so that a position below bit 0 of byte 0 lands on byte -1 and fails there.
struct BitPosition {
    int byte;
    int bit;
};

BitPosition bitPosition(long long position) {
    long long byte = position / 8;
    long long bit = position % 8;
    if (bit < 0) {
        bit += 8;
        byte -= 1;
    }
    return {areaIndex(byte), static_cast<int>(bit)};
}

void writeAreaName(Writer& writer, const char* areaName, const char* width, int address) {
    writer.putChar(' ');
    writer.putString(areaName);
    writer.putString(width);
    writer.putInt(address);
}

} // namespace

// ---- memory operands ----

BitParameter::BitParameter(MemField& area, int byteAddress, int bit, const char* areaName, int kind)
    : Parameter(kind, {BIT, BIT}), area_(area), byteAddress_(byteAddress), bit_(bit),
      areaName_(areaName), direct_{area.directRead(byteAddress, 1), area.directWrite(byteAddress, 1),
                                   static_cast<std::uint8_t>(1u << (bit & 7))} {}

void BitParameter::printName(Writer& writer) const {
    writeAreaName(writer, areaName_, "", byteAddress_);
    writer.putChar('.');
    writer.putInt(bit_);
}

int BitParameter::getBitAt(int index) {
    const BitPosition at = bitPosition(byteAddress_ * 8LL + bit_ + index);
    return area_.readBit(at.byte, at.bit);
}

void BitParameter::setBitAt(int index, int value) {
    const BitPosition at = bitPosition(byteAddress_ * 8LL + bit_ + index);
    area_.writeBit(at.byte, at.bit, value);
}

int BitParameter::readImmediate(CPU& cpu) {
    if (kind() != PK_E) throwMessage("Only E supported");
    return cpu.bus != nullptr ? cpu.bus->readInput(byteAddress_, bit_) : 0;
}

void BitParameter::writeImmediate(CPU& cpu, int value) {
    if (kind() != PK_A) throwMessage("Only A supported");
    if (cpu.bus != nullptr) cpu.bus->writeOutput(byteAddress_, bit_, value);
}

void BitParameter::setRange(int n, int value) {
    for (int i = 0; i < n; ++i) setBitAt(i, value);
}

void BitParameter::setRangeImmediate(CPU& cpu, int n, int value) {
    for (int i = 0; i < n; ++i) {
        const BitPosition at = bitPosition(byteAddress_ * 8LL + bit_ + i);
        area_.writeBit(at.byte, at.bit, value);
        if (cpu.bus != nullptr) cpu.bus->writeOutput(at.byte, at.bit, value);
    }
}

template <Width W>
AreaParameter<W>::AreaParameter(MemField& area, int address, const char* areaName, int kind)
    : WidthAccessors<W, AreaParameter<W>>(kind, {readWriteCapability(W), readWriteCapability(W)}), area_(area),
      address_(address), areaName_(areaName), readAt_(area.directRead(address, widthBytes(W))),
      writeAt_(area.directWrite(address, widthBytes(W))) {}

template <Width W> void AreaParameter<W>::printName(Writer& writer) const {
    const char width[] = {widthLetter(W), '\0'};
    writeAreaName(writer, areaName_, width, address_);
}

template <Width W> int AreaParameter<W>::elementAddress(int index) const {
    return areaIndex(address_ + static_cast<long long>(widthBytes(W)) * index);
}

template <Width W> std::uint32_t AreaParameter<W>::read(int index) {
    if (index == 0 && readAt_ != nullptr) return readBigEndian(readAt_, widthBytes(W));
    const int at = elementAddress(index);
    if constexpr (W == Width::Byte)
        return static_cast<std::uint32_t>(area_.readByte(at) & 0xFF);
    else if constexpr (W == Width::Word)
        return static_cast<std::uint32_t>(area_.readWord(at) & 0xFFFF);
    else
        return area_.readDword(at);
}

template <Width W> void AreaParameter<W>::write(int index, std::uint32_t value) {
    if (index == 0 && writeAt_ != nullptr) return writeBigEndian(writeAt_, widthBytes(W), value);
    const int at = elementAddress(index);
    if constexpr (W == Width::Byte)
        area_.writeByte(at, static_cast<int>(value & 0xFFu));
    else if constexpr (W == Width::Word)
        area_.writeWord(at, static_cast<int>(value & 0xFFFFu));
    else
        area_.writeDword(at, value);
}

template class AreaParameter<Width::Byte>;
template class AreaParameter<Width::Word>;
template class AreaParameter<Width::Dword>;

// ---- constants and texts ----

NumParameter::NumParameter(std::int32_t value, int base)
    : Parameter(PK_CONSTANT, {READ_ANY, NONE}), value_(value), base_(base) {}

void NumParameter::printName(Writer& writer) const {
    writer.putChar(' ');
    if (base_ != 10) {
        writer.putInt(base_);
        writer.putChar('#');
    }
    writer.putNumber(base_, static_cast<std::uint32_t>(value_));
}

int NumParameter::getBit() { return static_cast<int>(static_cast<std::uint32_t>(value_) & 1u); }
int NumParameter::getByte() { return static_cast<int>(static_cast<std::uint32_t>(value_) & 0xFFu); }
int NumParameter::getWord() { return static_cast<int>(static_cast<std::uint32_t>(value_) & 0xFFFFu); }
std::uint32_t NumParameter::getLong() { return static_cast<std::uint32_t>(value_); }
float NumParameter::getReal() { return static_cast<float>(value_); }

FloatParameter::FloatParameter(float value) : Parameter(PK_CONSTANT, {CAP_READ_DWORD, NONE}), value_(value) {}

void FloatParameter::printName(Writer& writer) const {
    writer.putChar(' ');
    writer.putReal(value_);
}

std::uint32_t FloatParameter::getLong() { return std::bit_cast<std::uint32_t>(value_); }
float FloatParameter::getReal() { return value_; }

StringParameter::StringParameter(std::string text) : Parameter(PK_TEXT, {NONE, NONE}), text_(std::move(text)) {}

void StringParameter::printName(Writer& writer) const {
    writer.putChar(' ');
    writer.putString(text_);
}

// ---- timers, counters, accumulators ----

TimerParameter::TimerParameter(TimerRecord& record, int number)
    : Parameter(PK_TIMER, {BIT | readWriteCapability(Width::Word), NONE}), record_(record), number_(number) {}

void TimerParameter::printName(Writer& writer) const {
    writer.putString(" T");
    writer.putInt(number_);
}

int TimerParameter::getBit() {
    if (record_.offDelay) return record_.running || record_.held ? 1 : 0;
    return record_.value >= record_.preset ? 1 : 0;
}
int TimerParameter::getWord() { return record_.value; }

void TimerParameter::setBit(int value) {
    if (value != 0) throwMessage("Timer can only be reseted");
    resetTimer(record_);
}

void TimerParameter::setWord(int value) { record_.value = static_cast<std::uint16_t>(value & 0xFFFF); }

CounterParameter::CounterParameter(CounterRecord& record, int number, MnemonicSet shownAs)
    : Parameter(PK_COUNTER, {CAP_READ_BIT | readWriteCapability(Width::Word), NONE}), record_(record), number_(number),
      shownAs_(shownAs) {}

void CounterParameter::printName(Writer& writer) const {
    writer.putString(shownAs_ == MnemonicSet::International ? " C" : " Z");
    writer.putInt(number_);
}

int CounterParameter::getBit() {
    if (record_.down) return record_.downBit ? 1 : 0;
    return record_.value >= record_.preset ? 1 : 0;
}
int CounterParameter::getWord() { return static_cast<std::uint16_t>(record_.value); }
void CounterParameter::setWord(int value) { record_.value = static_cast<std::int16_t>(value & 0xFFFF); }

AccumulatorParameter::AccumulatorParameter(std::uint32_t& accumulator, int number)
    : Parameter(PK_ACCUMULATOR, {NUMBERS, NONE}), accumulator_(accumulator), number_(number) {}

void AccumulatorParameter::printName(Writer& writer) const {
    writer.putString(" AC");
    writer.putInt(number_);
}

int AccumulatorParameter::getByte() { return static_cast<int>(accumulator_ & 0xFFu); }
int AccumulatorParameter::getWord() { return static_cast<int>(accumulator_ & 0xFFFFu); }
std::uint32_t AccumulatorParameter::getLong() { return accumulator_; }

void AccumulatorParameter::setByte(int value) {
    accumulator_ = (accumulator_ & ~0xFFu) | (static_cast<std::uint32_t>(value) & 0xFFu);
}

void AccumulatorParameter::setWord(int value) {
    accumulator_ = (accumulator_ & ~0xFFFFu) | (static_cast<std::uint32_t>(value) & 0xFFFFu);
}

void AccumulatorParameter::setLong(std::uint32_t value) { accumulator_ = value; }

// ---- analog channels of the bus ----

AEParameter::AEParameter(CPU& cpu, int channel, MnemonicSet shownAs)
    : Parameter(PK_ANALOG_IN, {CAP_READ_WORD, CAP_READ_WORD}), cpu_(cpu), channel_(channel), shownAs_(shownAs) {}

void AEParameter::printName(Writer& writer) const {
    const bool international = shownAs_ == MnemonicSet::International;
    writer.putString(international ? " AIW" : " AEW");
    writer.putInt(international ? 2 * channel_ : channel_);
}

int AEParameter::getWord() { return cpu_.readAnalogInput(channel_); }

int AEParameter::getWordAt(int index) { return cpu_.readAnalogInput(areaIndex(channel_ + 2LL * index)); }

AAParameter::AAParameter(CPU& cpu, int channel, MnemonicSet shownAs)
    : Parameter(PK_ANALOG_OUT, {CAP_WRITE_WORD, CAP_WRITE_WORD}), cpu_(cpu), channel_(channel), shownAs_(shownAs) {}

void AAParameter::printName(Writer& writer) const {
    const bool international = shownAs_ == MnemonicSet::International;
    writer.putString(international ? " AQW" : " AAW");
    writer.putInt(international ? 2 * channel_ : channel_);
}

void AAParameter::setWord(int value) {
    if (cpu_.bus != nullptr) cpu_.bus->writeAnalog(channel_, static_cast<std::uint16_t>(value & 0xFFFF));
}

void AAParameter::setWordAt(int index, int value) {
    if (cpu_.bus != nullptr)
        cpu_.bus->writeAnalog(areaIndex(channel_ + 2LL * index), static_cast<std::uint16_t>(value & 0xFFFF));
}

// ---- addresses and pointers ----

AddressParameter::AddressParameter(char areaLetter, char widthLetter, int address)
    : Parameter(PK_CONSTANT, {CAP_READ_DWORD, NONE}), areaLetter_(areaLetter), widthLetter_(widthLetter),
      address_(address) {}

void AddressParameter::printName(Writer& writer) const {
    writer.putString(" &");
    writer.putChar(areaLetter_);
    writer.putChar(widthLetter_);
    writer.putInt(address_);
}

std::uint32_t AddressParameter::getLong() {
    return areaLetter_ == 'V' ? POINTER_BASE_V + static_cast<std::uint32_t>(address_) : 0;
}

namespace {

// The area V offset of a pointer value.
int pointerOffset(std::uint32_t pointer) {
    const std::uint32_t offset = pointer - POINTER_BASE_V;
    if (offset > 0xFFFFFFu) throwMessage("Pointer out of range");
    return static_cast<int>(offset);
}

} // namespace

PointerParameter::PointerParameter(CPU& cpu, std::unique_ptr<Parameter> inner)
    : Parameter(PK_POINTER, {NUMBERS, NUMBERS}), cpu_(cpu), inner_(std::move(inner)), base_(inner_.get()),
      innerLevels_(0) {
    if (!inner_) throwMessage("Empty pointer");
    if (!(inner_->capabilities().direct & CAP_READ_DWORD)) throwMessage("Can't read a dword on parameter");
    if (const auto* innerPointer = dynamic_cast<const PointerParameter*>(inner_.get())) {
        base_ = innerPointer->base_;
        innerLevels_ = innerPointer->innerLevels_ + 1;
    }
}

PointerParameter::~PointerParameter() {
    std::unique_ptr<Parameter> next = std::move(inner_);
    while (auto* pointer = dynamic_cast<PointerParameter*>(next.get())) next = std::move(pointer->inner_);
}

void PointerParameter::printName(Writer& writer) const {
    StringWriter baseName;
    base_->printName(baseName);
    writer.putChar(' ');
    for (int level = 0; level <= innerLevels_; ++level) writer.putChar('*');
    writer.putString(baseName.text().c_str() + (baseName.text().empty() ? 0 : 1));
}

// The V offset addressed `step` bytes on from this pointer. The value of an
// inner pointer is the double word it addresses, so the chain is walked from
// the innermost operand outward.
int PointerParameter::offset(long long step) {
    std::uint32_t pointer = base_->getLong();
    for (int level = 0; level < innerLevels_; ++level) pointer = cpu_.areaV.readDword(pointerOffset(pointer));
    return pointerOffset(pointer + static_cast<std::uint32_t>(step));
}

int PointerParameter::getByte() { return cpu_.areaV.readByte(offset(0)) & 0xFF; }
int PointerParameter::getWord() { return cpu_.areaV.readWord(offset(0)) & 0xFFFF; }
std::uint32_t PointerParameter::getLong() { return cpu_.areaV.readDword(offset(0)); }
void PointerParameter::setByte(int value) { cpu_.areaV.writeByte(offset(0), value); }
void PointerParameter::setWord(int value) { cpu_.areaV.writeWord(offset(0), value & 0xFFFF); }
void PointerParameter::setLong(std::uint32_t value) { cpu_.areaV.writeDword(offset(0), value); }
int PointerParameter::getByteAt(int index) { return cpu_.areaV.readByte(offset(index)) & 0xFF; }
int PointerParameter::getWordAt(int index) { return cpu_.areaV.readWord(offset(2LL * index)) & 0xFFFF; }
std::uint32_t PointerParameter::getLongAt(int index) { return cpu_.areaV.readDword(offset(4LL * index)); }
void PointerParameter::setByteAt(int index, int value) { cpu_.areaV.writeByte(offset(index), value); }
void PointerParameter::setWordAt(int index, int value) { cpu_.areaV.writeWord(offset(2LL * index), value & 0xFFFF); }
void PointerParameter::setLongAt(int index, std::uint32_t value) { cpu_.areaV.writeDword(offset(4LL * index), value); }

} // namespace sps
