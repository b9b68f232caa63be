#pragma once

#include "lab_window/fields.h"
#include "model/quantity.h"

#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;

namespace t1 {

// A number the student answers: "0,52", "0.52", a fraction "1/5", and,
// for a pure number (a ratio, a gain), "52 %". The quantity gives the
// limits and the words of the messages; empty is no answer.
Reading readAnswer(const model::Quantity& quantity, std::string_view text);

// The quantity an answer of a kind is read against: wide limits, whole
// for the converters' points.
model::Quantity answerQuantity(std::string_view key, std::string_view symbol, model::Unit unit, int decimals);

// A box for one answer, its name before it and its unit after, with the
// reason it is refused in red under it: never a message box.
class AnswerField : public QWidget {
    Q_OBJECT
public:
    // A required field refuses an empty box (a regulator's coefficient).
    AnswerField(QWidget* parent, const model::Quantity& quantity, const QString& caption, bool required = false);

    // Reads the box: the value, none when empty or refused (then the
    // message shows under it).
    std::optional<double> read();
    bool refused() const;
    QString message() const;
    QString text() const;
    void setText(const QString& text);
    void setReadOnly(bool readOnly);

    const model::Quantity& quantity() const { return m_quantity; }
    QLineEdit* edit() const { return m_edit; }

private:
    model::Quantity m_quantity;
    bool m_required;
    QLineEdit* m_edit;
    QLabel* m_message;
};

}  // namespace t1
