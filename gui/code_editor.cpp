#include "gui/code_editor.h"

#include <algorithm>

#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>

namespace sps {

namespace {

const QColor CURRENT_LINE(0xFF, 0xFA, 0xD8);
const QColor NETWORK_LINES(0xD8, 0xE8, 0xFF);
const QColor ERROR_LINE(0xFF, 0xE0, 0xE0);
const QColor ERROR_MARK(0xD0, 0x20, 0x20);

class Margin final : public QWidget {
public:
    explicit Margin(CodeEditor& editor) : QWidget(&editor), editor_(editor) {}
    QSize sizeHint() const override { return {editor_.marginWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { editor_.paintMargin(event); }

private:
    CodeEditor& editor_;
};

QTextEdit::ExtraSelection wholeLine(const QTextBlock& block, const QColor& background) {
    QTextEdit::ExtraSelection selection;
    selection.format.setBackground(background);
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    selection.cursor = QTextCursor(block);
    return selection;
}

} // namespace

CodeEditor::CodeEditor(QWidget* parent) : QPlainTextEdit(parent), margin_(new Margin(*this)) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(marginWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, &CodeEditor::updateMargin);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &CodeEditor::updateMarks);
    setViewportMargins(marginWidth(), 0, 0, 0);
    updateMarks();
}

int CodeEditor::marginWidth() const {
    int digits = 1;
    for (int lines = std::max(1, blockCount()); lines >= 10; lines /= 10) ++digits;
    // Room for the numbers and, left of them, the error mark.
    return fontMetrics().horizontalAdvance(QLatin1Char('9')) * (digits + 2) + 6;
}

void CodeEditor::goToLine(int line) {
    const QTextBlock block = document()->findBlockByNumber(std::clamp(line, 1, blockCount()) - 1);
    setTextCursor(QTextCursor(block));
    centerCursor();
}

void CodeEditor::markError(int line) {
    errorLine_ = line;
    updateMarks();
    margin_->update();
}

void CodeEditor::markNetwork(int first, int last) {
    networkFirst_ = first;
    networkLast_ = first == 0 ? 0 : std::max(first, last);
    updateMarks();
}

void CodeEditor::updateMarks() {
    QList<QTextEdit::ExtraSelection> marks;
    marks.append(wholeLine(textCursor().block(), CURRENT_LINE));
    if (networkFirst_ > 0)
        for (int line = networkFirst_; line <= networkLast_ && line <= blockCount(); ++line)
            marks.append(wholeLine(document()->findBlockByNumber(line - 1), NETWORK_LINES));
    if (errorLine_ > 0 && errorLine_ <= blockCount()) {
        const QTextBlock block = document()->findBlockByNumber(errorLine_ - 1);
        marks.append(wholeLine(block, ERROR_LINE));
        QTextEdit::ExtraSelection underline;
        underline.cursor = QTextCursor(block);
        underline.cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        underline.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        underline.format.setUnderlineColor(ERROR_MARK);
        marks.append(underline);
    }
    setExtraSelections(marks);
}

void CodeEditor::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    margin_->setGeometry(QRect(area.left(), area.top(), marginWidth(), area.height()));
}

void CodeEditor::updateMargin(const QRect& rect, int dy) {
    if (dy != 0)
        margin_->scroll(0, dy);
    else
        margin_->update(0, rect.y(), margin_->width(), rect.height());
}

void CodeEditor::paintMargin(QPaintEvent* event) {
    QPainter painter(margin_);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    const int digitWidth = fontMetrics().horizontalAdvance(QLatin1Char('9'));
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int lineHeight = fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible() && top + lineHeight >= event->rect().top()) {
            const int line = block.blockNumber() + 1;
            if (line == errorLine_) {
                painter.setBrush(ERROR_MARK);
                painter.setPen(Qt::NoPen);
                const int size = std::min(lineHeight, digitWidth * 2) - 4;
                painter.drawEllipse(2, top + (lineHeight - size) / 2, size, size);
            }
            painter.setPen(line == errorLine_ ? ERROR_MARK : palette().color(QPalette::PlaceholderText));
            painter.drawText(0, top, margin_->width() - 4, lineHeight, Qt::AlignRight, QString::number(line));
        }
        top += qRound(blockBoundingRect(block).height());
        block = block.next();
    }
}

} // namespace sps
