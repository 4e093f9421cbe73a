#pragma once

#include <string>

#include <QString>

namespace sps {

// The core's texts are ISO-8859-1; a character beyond it becomes "?".
inline QString fromCore(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string toCore(const QString& text) { return text.toLatin1().toStdString(); }

} // namespace sps
