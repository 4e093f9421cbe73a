#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <span>
#include <vector>

namespace sps {

// An address computed in 64 bits, as an area index: beyond the range of int it
// is clamped to the nearest int, so it stays on its side of the area (SM drops
// program writes to low and negative bytes but rejects those past its end).
// Keeps address arithmetic free of signed overflow.
inline int areaIndex(long long address) { return static_cast<int>(std::clamp<long long>(address, INT_MIN, INT_MAX)); }

// A byte-addressed memory area of the CPU with bounds checks and big-endian
// word and double-word access. Every width is built on readByte/writeByte, so
// an override of those two governs all of them.
class MemField {
public:
    MemField(int size, bool writeProtected);
    virtual ~MemField() = default;

    int size() const { return static_cast<int>(bytes_.size()); }
    // The bytes themselves, for a reader that samples after every step and
    // checked its address once (the recorder); they never move while the
    // area lives.
    const std::uint8_t* bytes() const { return bytes_.data(); }
    // All of them, as the scan history saves and restores them (past every
    // protection: a restore puts back what was there).
    std::span<std::uint8_t> stateBytes() { return bytes_; }

    virtual int readBit(int index, int bit);
    virtual int readByte(int index);
    virtual int readWord(int index);
    virtual std::uint32_t readDword(int index);
    virtual void writeBit(int index, int bit, int value);
    virtual void writeByte(int index, int value);
    virtual void writeWord(int index, int value);
    virtual void writeDword(int index, std::uint32_t value);
    virtual void clear();

    // Where the program's reads and writes of `count` bytes from `index` find
    // those bytes, when they go straight to memory: operands whose address is
    // fixed resolve it once, so that a scan touches the bytes without the
    // checks. Null where an access goes through readByte/writeByte: outside
    // the area, in a protected one, or where writes are dropped. A subclass
    // that overrides readByte or writeByte overrides these as well.
    virtual const std::uint8_t* directRead(int index, int count) const;
    virtual std::uint8_t* directWrite(int index, int count);

protected:
    std::uint8_t* rawBytes() { return bytes_.data(); }

private:
    std::vector<std::uint8_t> bytes_;
    bool writeProtected_;
};

// The special memory SM: the program cannot change its first
// SM_READ_ONLY_BYTES bytes (such writes are dropped without an error); the CPU
// publishes status and clock bits there through the system writes.
class SMField final : public MemField {
public:
    static constexpr int SM_READ_ONLY_BYTES = 30;

    explicit SMField(int size) : MemField(size, false) {}

    void writeByte(int index, int value) override;
    std::uint8_t* directWrite(int index, int count) override;
    void systemWriteBit(int index, int bit, int value);
    void systemWriteByte(int index, int value);
};

} // namespace sps
