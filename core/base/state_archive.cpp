#include "base/state_archive.h"

#include <algorithm>
#include <cstring>

namespace sps {

void StateArchive::text(std::string& field) {
    // No text of the simulation's state comes near this; a longer one is
    // not allocated but read as far as it goes.
    constexpr std::uint32_t MAX_TEXT = 1u << 16;
    auto size = static_cast<std::uint32_t>(field.size());
    value(size);
    if (reading()) field.assign(std::min(size, MAX_TEXT), '\0');
    raw(field.data(), field.size());
}

void StateWriter::raw(void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    image_.insert(image_.end(), bytes, bytes + size);
}

void StateReader::raw(void* data, std::size_t size) {
    if (size > image_.size() - at_) {
        std::memset(data, 0, size);
        at_ = image_.size();
        failed_ = true;
        return;
    }
    if (size > 0) std::memcpy(data, image_.data() + at_, size);
    at_ += size;
}

} // namespace sps
