#include "messages/message_catalog.h"

#include <cstring>

namespace sps {

const char* lookupMessage(const char* key) {
    if (key == nullptr) return nullptr;
    if (key[0] == '\0') return key;
    for (const CatalogEntry& entry : messageCatalog) {
        if (std::strcmp(entry.key, key) == 0) return entry.text;
    }
    return key;
}

} // namespace sps
