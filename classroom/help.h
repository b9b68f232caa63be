#pragma once

#include <QDialog>

class QTextBrowser;

// F1: a short French help with the lessons of the menu, the two ways of
// running them and every key. It does not block the window (the animation
// goes on behind it) and closes with Escape.
class HelpDialog : public QDialog {
    Q_OBJECT
public:
    explicit HelpDialog(QWidget* window);

    // What it says, as plain text.
    QString text() const;

private:
    QTextBrowser* m_text;
};
