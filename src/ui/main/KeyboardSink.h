#pragma once
#include <QLineEdit>

namespace vem {

// The 1 x 1 edit that takes the keyboard for the grid; it never edits its own text.
class KeyboardSink : public QLineEdit {
    Q_OBJECT
public:
    explicit KeyboardSink(QWidget* parent);

signals:
    void keyPressed(QKeyEvent* event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The window's shortcuts (undo, redo, save) come before a line edit's own.
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }
};

}  // namespace vem
