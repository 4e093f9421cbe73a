#include "gui/program_highlighter.h"

#include <QColor>
#include <QFont>

namespace sps {

namespace {

struct CategoryLook {
    SourceCategory category;
    QColor colour;
    bool bold;
    bool italic;
};

// In category order.
const CategoryLook LOOKS[] = {
    {SourceCategory::Keyword, QColor(0x80, 0x00, 0x80), true, false},
    {SourceCategory::Mnemonic, QColor(0x00, 0x00, 0xC0), true, false},
    {SourceCategory::Operand, QColor(0x00, 0x70, 0x70), false, false},
    {SourceCategory::Constant, QColor(0xA0, 0x50, 0x00), false, false},
    {SourceCategory::Comment, QColor(0x60, 0x80, 0x60), false, true},
    {SourceCategory::Title, QColor(0x40, 0x40, 0x90), false, true},
};

} // namespace

QTextCharFormat ProgramHighlighter::format(SourceCategory category) {
    const CategoryLook& look = LOOKS[static_cast<std::size_t>(category)];
    QTextCharFormat made;
    made.setForeground(look.colour);
    if (look.bold) made.setFontWeight(QFont::Bold);
    made.setFontItalic(look.italic);
    return made;
}

ProgramHighlighter::ProgramHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    for (const CategoryLook& look : LOOKS) formats_[static_cast<std::size_t>(look.category)] = format(look.category);
}

void ProgramHighlighter::highlightBlock(const QString& text) {
    // The words are ASCII: any other character stands as one byte that is
    // no word character, so that positions stay those of the text.
    line_.resize(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        line_[static_cast<std::size_t>(i)] = c < 0x80 ? static_cast<char>(c) : '\x7F';
    }
    highlightLine(line_, spans_);
    for (const SourceSpan& span : spans_)
        setFormat(static_cast<int>(span.start), static_cast<int>(span.length),
                  formats_[static_cast<std::size_t>(span.category)]);
}

} // namespace sps
