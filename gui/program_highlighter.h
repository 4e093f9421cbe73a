#pragma once

#include <array>
#include <string>
#include <vector>

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include "loader/source_highlight.h"

namespace sps {

// Highlights a program text line by line with the core's classifier, whose
// words come from the instruction table, the operand letters and the block
// keywords. A line is highlighted by itself alone, so an edit re-highlights
// only its own lines.
class ProgramHighlighter final : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit ProgramHighlighter(QTextDocument* document);

    // The format of each category.
    static QTextCharFormat format(SourceCategory category);

protected:
    void highlightBlock(const QString& text) override;

private:
    std::array<QTextCharFormat, 6> formats_;
    // Reused from line to line.
    std::string line_;
    std::vector<SourceSpan> spans_;
};

} // namespace sps
