#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace t1::testing {

// What a message box showed to the user.
struct SeenBox {
    Qt::TextFormat format = Qt::AutoText;
    QString text;
    QStringList buttons;
};

// Answers the next message box that opens with the button of this text
// (its default button when none is given), noting what it showed. The box
// is looked for once its own event loop runs.
inline void answerNextBox(SeenBox& seen, const QString& button = {}, int tries = 100)
{
    QTimer::singleShot(0, [&seen, button, tries] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (tries > 0)
                answerNextBox(seen, button, tries - 1);
            return;
        }
        seen.format = box->textFormat();
        seen.text = box->text();
        QAbstractButton* answer = box->defaultButton();
        for (QAbstractButton* b : box->buttons()) {
            seen.buttons << b->text();
            if (!button.isEmpty() && b->text() == button)
                answer = b;
        }
        if (!answer && !box->buttons().isEmpty())
            answer = box->buttons().first();
        answer->click();
    });
}

}  // namespace t1::testing
