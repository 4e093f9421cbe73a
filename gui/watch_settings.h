#pragma once

#include <optional>

#include <QList>
#include <QString>

namespace sps {

// One row of a watch table as it is kept between sessions. Forces are not
// kept: loading a program clears them.
struct SavedWatchRow {
    QString operand;   // as the core names it: "MW10"
    QString format;    // the German name of its display format
    QString newValue;  // as typed
    QString condition; // the test of its breakpoint, "> 100", or empty
    bool record = false;

    bool operator==(const SavedWatchRow&) const = default;
};

// The watch tables live in the user's settings, one per program file (its
// canonical path), in the group "watch":
//
//   tables\size=1
//   tables\1\program=/home/user/ampel.awl
//   tables\1\rows\size=1
//   tables\1\rows\1\operand=MW10
//   tables\1\rows\1\format=Hex
//   ...

// The table kept for `program`; none when no table was ever kept for it.
std::optional<QList<SavedWatchRow>> loadWatchTable(const QString& program);
// Keeps `rows` as the table of `program`, replacing the one kept before.
void saveWatchTable(const QString& program, const QList<SavedWatchRow>& rows);

} // namespace sps
