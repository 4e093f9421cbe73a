#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

namespace sps {

// The simulation's state as one flat image of bytes, for the scan history.
// Each part of the simulation visits its fields once, in a fixed order, with
// an archive that either writes them to an image or reads them back: the same
// visit serves both ways, so the two cannot drift apart.
//
//   void Thing::visitState(StateArchive& archive) {
//       archive.value(counter_);
//       archive.raw(bytes_.data(), bytes_.size());
//   }
class StateArchive {
public:
    // Writes the field to the image, or reads it from there.
    virtual void raw(void* data, std::size_t size) = 0;
    // Whether the fields are read back (the visit then rebuilds what is not
    // a plain field, such as a list).
    virtual bool reading() const = 0;

    template <class T> void value(T& field) {
        static_assert(std::is_trivially_copyable_v<T>);
        raw(&field, sizeof field);
    }
    void text(std::string& field);

protected:
    ~StateArchive() = default;
};

// Writes the visited fields to the end of `image`.
class StateWriter final : public StateArchive {
public:
    explicit StateWriter(std::vector<std::uint8_t>& image) : image_(image) {}

    void raw(void* data, std::size_t size) override;
    bool reading() const override { return false; }

private:
    std::vector<std::uint8_t>& image_;
};

// Reads the visited fields from an image that a StateWriter wrote. Reading
// past its end gives zeros and marks the reader failed, so that a mismatch of
// the two sides shows without reading out of bounds.
class StateReader final : public StateArchive {
public:
    explicit StateReader(std::span<const std::uint8_t> image) : image_(image) {}

    void raw(void* data, std::size_t size) override;
    bool reading() const override { return true; }

    // Whether every visited field was there, and nothing is left over.
    bool complete() const { return !failed_ && at_ == image_.size(); }

private:
    std::span<const std::uint8_t> image_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

} // namespace sps
