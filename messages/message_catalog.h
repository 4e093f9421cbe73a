#pragma once

#include <cstddef>

namespace sps {

struct CatalogEntry {
    const char* key;
    const char* text;
};

// The compiled-in catalog: entry 0 is empty, entry 1 the header, then one
// entry per message.
extern const CatalogEntry messageCatalog[];
extern const std::size_t messageCatalogSize;

// The German text for an English key; the key itself when the catalog has no
// entry for it (so an untranslated message shows in English), null for null.
const char* lookupMessage(const char* key);

} // namespace sps
