#include "gui/watch_settings.h"

#include <QSettings>

#include "gui/core_text.h"

namespace sps {

namespace {

const QString GROUP = QStringLiteral("watch");
const QString TABLES = QStringLiteral("tables");
const QString PROGRAM = QStringLiteral("program");
const QString ROWS = QStringLiteral("rows");
const QString OPERAND = QStringLiteral("operand");
const QString FORMAT = QStringLiteral("format");
const QString NEW_VALUE = QStringLiteral("value");
const QString CONDITION = QStringLiteral("condition");
const QString RECORD = QStringLiteral("record");
const QString NETWORKS = QStringLiteral("networks");
const QString BLOCK = QStringLiteral("block");
const QString NETWORK = QStringLiteral("network");

// The index of the table of `program` in the array of tables (which the
// settings have open), or -1; `count` is the array's size.
int tableIndex(QSettings& settings, const QString& program, int& count) {
    count = settings.beginReadArray(TABLES);
    int found = -1;
    for (int i = 0; i < count && found < 0; ++i) {
        settings.setArrayIndex(i);
        if (settings.value(PROGRAM).toString() == program) found = i;
    }
    settings.endArray();
    return found;
}

} // namespace

std::optional<std::vector<KeptWatchRow>> loadWatchTable(const QString& program) {
    QSettings settings;
    settings.beginGroup(GROUP);
    int count = 0;
    const int index = tableIndex(settings, program, count);
    if (index < 0) return std::nullopt;
    std::vector<KeptWatchRow> rows;
    settings.beginReadArray(TABLES);
    settings.setArrayIndex(index);
    // A program with only network breakpoints kept has no table of rows.
    if (!settings.contains(ROWS + QStringLiteral("/size"))) {
        settings.endArray();
        return std::nullopt;
    }
    const int size = settings.beginReadArray(ROWS);
    for (int i = 0; i < size; ++i) {
        settings.setArrayIndex(i);
        rows.push_back({toCore(settings.value(OPERAND).toString()), toCore(settings.value(FORMAT).toString()),
                        toCore(settings.value(NEW_VALUE).toString()), toCore(settings.value(CONDITION).toString()),
                        settings.value(RECORD).toBool()});
    }
    settings.endArray();
    settings.endArray();
    return rows;
}

namespace {

// Opens the entry of `program` in the array of tables for writing, a new one
// at the end when there is none; the caller ends the array.
void openEntry(QSettings& settings, const QString& program) {
    settings.beginGroup(GROUP);
    int count = 0;
    int index = tableIndex(settings, program, count);
    if (index < 0) index = count++;
    settings.beginWriteArray(TABLES, count);
    settings.setArrayIndex(index);
    settings.setValue(PROGRAM, program);
}

} // namespace

void saveWatchTable(const QString& program, const std::vector<KeptWatchRow>& rows) {
    QSettings settings;
    openEntry(settings, program);
    settings.remove(ROWS);
    settings.beginWriteArray(ROWS, static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        settings.setArrayIndex(static_cast<int>(i));
        const KeptWatchRow& row = rows[i];
        settings.setValue(OPERAND, fromCore(row.operand));
        settings.setValue(FORMAT, fromCore(row.format));
        settings.setValue(NEW_VALUE, fromCore(row.newValue));
        settings.setValue(CONDITION, fromCore(row.condition));
        settings.setValue(RECORD, row.record);
    }
    settings.endArray();
    settings.endArray();
}

std::vector<KeptNetworkBreakpoint> loadNetworkBreakpoints(const QString& program) {
    QSettings settings;
    settings.beginGroup(GROUP);
    int count = 0;
    const int index = tableIndex(settings, program, count);
    if (index < 0) return {};
    std::vector<KeptNetworkBreakpoint> kept;
    settings.beginReadArray(TABLES);
    settings.setArrayIndex(index);
    const int size = settings.beginReadArray(NETWORKS);
    for (int i = 0; i < size; ++i) {
        settings.setArrayIndex(i);
        kept.push_back({toCore(settings.value(BLOCK).toString()), settings.value(NETWORK).toInt()});
    }
    settings.endArray();
    settings.endArray();
    return kept;
}

void saveNetworkBreakpoints(const QString& program, const std::vector<KeptNetworkBreakpoint>& breakpoints) {
    QSettings settings;
    openEntry(settings, program);
    settings.remove(NETWORKS);
    settings.beginWriteArray(NETWORKS, static_cast<int>(breakpoints.size()));
    for (std::size_t i = 0; i < breakpoints.size(); ++i) {
        settings.setArrayIndex(static_cast<int>(i));
        settings.setValue(BLOCK, fromCore(breakpoints[i].block));
        settings.setValue(NETWORK, breakpoints[i].network);
    }
    settings.endArray();
    settings.endArray();
}

} // namespace sps
