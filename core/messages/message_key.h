#pragma once

#include <cstddef>

#include "messages/message_catalog.h"

namespace sps {

// A key of the message catalog, checked when the code is compiled: a key
// that the catalog lacks (a misspelt one) does not build, so no message can
// ever show its English key instead of the German text.
class MessageKey {
public:
    // Implicit, so that a key is written as its text: throwMessage("Timer expected").
    consteval MessageKey(const char* key) : index_(indexOf(key)) {} // NOLINT(google-explicit-constructor)

    const char* key() const { return messageCatalog[index_].key; }
    const char* text() const { return messageCatalog[index_].text; }

private:
    static consteval std::size_t indexOf(const char* key) {
        for (std::size_t i = 2; i < messageCatalogSize; ++i)
            if (same(messageCatalog[i].key, key)) return i;
        throw "the message catalog has no entry for this key";
    }
    static consteval bool same(const char* a, const char* b) {
        for (; *a != '\0' && *a == *b; ++a) ++b;
        return *a == *b;
    }

    std::size_t index_;
};

} // namespace sps
