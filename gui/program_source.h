#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

namespace sps {

// A program file as the program window edits it: the text with "\n" line
// ends, and how the file writes it, so that saving gives back the same kind
// of file (encoding, byte-order mark, line ends).
struct ProgramSource {
    enum class Encoding { Latin1, Utf8, Utf8WithMark };
    QString text;
    Encoding encoding = Encoding::Latin1;
    QByteArray lineEnd = "\n";
    // False for a file that is no text (NUL or other control bytes): it is
    // shown, but not edited or saved.
    bool isText = true;
};

// UTF-8 when the bytes are valid UTF-8 beyond ASCII, ISO-8859-1 otherwise
// (the simulator's own files; every byte stays itself); CR LF line ends
// when the first line end is one.
ProgramSource decodeProgram(const QByteArray& bytes);

// The bytes of `text` in the file's kind; none when a character does not
// fit into ISO-8859-1.
std::optional<QByteArray> encodeProgram(const QString& text, const ProgramSource& kind);

} // namespace sps
