#include "gui/program_source.h"

#include <QStringDecoder>

namespace sps {

namespace {

constexpr char BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";

// Tab, line feed, form feed and carriage return are text; other control
// bytes are not.
bool textBytes(const QByteArray& bytes) {
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\f' && byte != '\r') return false;
    }
    return true;
}

bool beyondAscii(const QByteArray& bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

} // namespace

ProgramSource decodeProgram(const QByteArray& bytes) {
    ProgramSource source;
    source.isText = textBytes(bytes);
    const bool marked = bytes.startsWith(BYTE_ORDER_MARK);
    const QByteArray body = marked ? bytes.mid(3) : bytes;
    if (marked || beyondAscii(body)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(body);
        if (!utf8.hasError()) {
            source.text = std::move(text);
            source.encoding = marked ? ProgramSource::Encoding::Utf8WithMark : ProgramSource::Encoding::Utf8;
        }
    }
    if (source.encoding == ProgramSource::Encoding::Latin1) source.text = QString::fromLatin1(bytes);
    const qsizetype lineFeed = bytes.indexOf('\n');
    if (lineFeed > 0 && bytes[lineFeed - 1] == '\r') {
        source.lineEnd = "\r\n";
        source.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    return source;
}

std::optional<QByteArray> encodeProgram(const QString& text, const ProgramSource& kind) {
    QString lines = text;
    if (kind.lineEnd != "\n") lines.replace(QLatin1Char('\n'), QString::fromLatin1(kind.lineEnd));
    switch (kind.encoding) {
    case ProgramSource::Encoding::Latin1:
        for (const QChar c : lines)
            if (c.unicode() > 0xFF) return std::nullopt;
        return lines.toLatin1();
    case ProgramSource::Encoding::Utf8: return lines.toUtf8();
    case ProgramSource::Encoding::Utf8WithMark: return QByteArray(BYTE_ORDER_MARK) + lines.toUtf8();
    }
    return std::nullopt;
}

} // namespace sps
