#pragma once

#include "model/quantity.h"

#include <QObject>
#include <QPalette>
#include <QString>

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QWidget;

namespace t1 {

// Where a field sits on the scene: its name, the box, what follows the box
// (a unit, or a value worked out from it), and the message line under them.
struct FieldPlace {
    int left, top;
    int nameWidth;
    int editWidth;
    int width;  // of the whole row, the message's too
};

// Two lines of the messages' font under the box.
inline constexpr int kFieldRowHeight = 20;
inline constexpr int kFieldMessageHeight = 22;

// A number the student types, for one of the model's quantities: its
// limits, whether whole, its decimals and its default. The text is read when
// he presses Enter or leaves the box; a value the field cannot use is
// refused where it was typed, with the reason in red under it and the box
// marked, and the last good value stays in force.
class NumberField : public QObject {
    Q_OBJECT
public:
    // An extra check after the quantity's own: the French reason, or empty.
    using Check = std::function<std::string(double)>;

    // `caption` is the name before the box, with its mnemonic; the field
    // starts at the quantity's default, unplaced.
    NumberField(QWidget* parent, const model::Quantity& quantity, const QString& caption);

    void place(const FieldPlace& place);
    // The width the name needs.
    int nameWidth() const;

    const model::Quantity& quantity() const { return *m_quantity; }
    double value() const { return m_value; }
    // Shows a value set from elsewhere (a preset, a setup file): no message.
    void setValue(double value);
    void setCheck(Check check) { m_check = std::move(check); }
    // The text after the box: a unit, or what the value means.
    void setNote(const QString& note);

    QString message() const;
    bool refused() const { return !message().isEmpty(); }
    void setEnabled(bool enabled);
    // The name, box, note and message shown or hidden together.
    void setVisible(bool visible);
    bool isShown() const;

    QLineEdit* edit() const { return m_edit; }
    QLabel* name() const { return m_name; }
    QLabel* note() const { return m_note; }
    QLabel* messageLabel() const { return m_message; }

    // Reads the box's text now, as Enter does.
    void commit();

signals:
    void accepted(double value);

private:
    void showMessage(const QString& message);

    const model::Quantity* m_quantity;
    double m_value;
    QString m_shown;  // the text of the value in force, not read again
    Check m_check;
    QPalette m_normal;
    QLabel* m_name;
    QLineEdit* m_edit;
    QLabel* m_note;
    QLabel* m_message;
};

}  // namespace t1
