#pragma once

#include <QPlainTextEdit>

namespace sps {

// The text of the program window: line numbers in a margin, the current
// line, the lines of one network (where the run stopped, or under the mouse
// in the ladder window) and an error line, marked in the margin and
// underlined.
class CodeEditor final : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CodeEditor(QWidget* parent = nullptr);

    // Lines count from 1.
    int currentLine() const { return textCursor().blockNumber() + 1; }
    // Puts the cursor at the start of `line` (kept within the text) and shows it.
    void goToLine(int line);

    // 0: none.
    void markError(int line);
    int errorLine() const { return errorLine_; }
    // The lines first to last of a network; first 0: none.
    void markNetwork(int first, int last);
    int networkFirstLine() const { return networkFirst_; }
    int networkLastLine() const { return networkLast_; }

    // The margin: its width and its painting.
    int marginWidth() const;
    void paintMargin(QPaintEvent* event);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateMarks();
    void updateMargin(const QRect& rect, int dy);

    QWidget* margin_ = nullptr;
    int errorLine_ = 0;
    int networkFirst_ = 0;
    int networkLast_ = 0;
};

} // namespace sps
