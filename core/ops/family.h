#pragma once

// How a family of instructions is written once: a list of rows, each naming
// a mnemonic, its ladder label and the parameters that select the family's
// class template (width, operator, relation). The class for a row is the
// template instantiated with the row itself, and it computes its own
// InstructionRow from it; the family's table entries are generated from the
// list, so that adding a mnemonic is adding one row.

#include <array>
#include <cstddef>
#include <utility>

#include "ops/instruction_row.h"

namespace sps {

// A name in a row: a mnemonic or a label. Held as characters (not a pointer)
// so that a row can be a template argument and its names outlive it.
struct Name {
    static constexpr std::size_t CAPACITY = 16;
    std::array<char, CAPACITY> text{};

    constexpr Name() = default;
    // Implicit, so that rows are written with their names as text.
    consteval Name(const char* name) { // NOLINT(google-explicit-constructor)
        std::size_t at = 0;
        for (; name[at] != '\0'; ++at) {
            if (at + 1 >= CAPACITY) throw "name too long for a row";
            text[at] = name[at];
        }
    }

    constexpr bool empty() const { return text[0] == '\0'; }
    constexpr const char* c_str() const { return text.data(); }
    // Null for an empty name: a row's international name left out is the same as the German one.
    constexpr const char* orNull() const { return empty() ? nullptr : text.data(); }
};

// The entries of a family whose classes are `Op<row>` for each row of `Rows`.
template <template <auto> class Op, const auto& Rows> constexpr auto familyEntries() {
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return std::array<TableEntry, sizeof...(I)>{TableEntry{&Op<Rows[I]>::row, createAs<Op<Rows[I]>>}...};
    }
    (std::make_index_sequence<std::size(Rows)>{});
}

// The entries of hand-written classes, each with its own static `row`.
template <class... Ops> constexpr std::array<TableEntry, sizeof...(Ops)> classEntries() {
    return {TableEntry{&Ops::row, createAs<Ops>}...};
}

// Several families' entries one after the other.
template <std::size_t... N> constexpr auto joinEntries(const std::array<TableEntry, N>&... parts) {
    std::array<TableEntry, (N + ... + 0)> all{};
    std::size_t at = 0;
    ((std::copy(parts.begin(), parts.end(), all.begin() + static_cast<std::ptrdiff_t>(at)), at += parts.size()), ...);
    return all;
}

} // namespace sps
