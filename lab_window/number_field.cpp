#include "lab_window/number_field.h"

#include "picture/fonts.h"

#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace t1 {

namespace {

constexpr int kRowHeight = 20;
constexpr int kNoteGap = 4;
constexpr int kMessageHeight = 22;  // two lines of 7 pt
constexpr QRgb kMessageColour = qRgb(200, 0, 0);
constexpr QRgb kRefusedBase = qRgb(255, 228, 228);

}  // namespace

Reading readNumber(Field field, const QString& text)
{
    const std::string utf8 = text.toStdString();
    const auto slash = utf8.find('/');
    if (field != Field::Ratio || slash == std::string::npos)
        return readField(field, utf8);
    const auto over = parseDecimal(std::string_view(utf8).substr(0, slash));
    const auto under = parseDecimal(std::string_view(utf8).substr(slash + 1));
    if (!over || !under || *under == 0 || !std::isfinite(*over / *under))
        return {std::nullopt, "T/T1 : entrez un nombre (0,2) ou une fraction (1/5)."};
    const double value = *over / *under;
    Verdict verdict = check(field, value);
    if (!verdict.ok())
        return {std::nullopt, std::move(verdict.message)};
    return {value, {}};
}

NumberField::NumberField(QWidget* scene, Field field, const FieldPlace& place, const QString& name,
                         double value, int decimals)
    : QObject(scene), m_field(field), m_value(value), m_decimals(decimals)
{
    m_name = new QLabel(name, scene);
    m_name->setGeometry(place.left, place.top, place.nameWidth, kRowHeight);
    m_edit = new QLineEdit(scene);
    m_edit->setGeometry(place.left + place.nameWidth, place.top, place.editWidth, kRowHeight);
    m_name->setBuddy(m_edit);
    m_normal = m_edit->palette();
    const int noteLeft = place.left + place.nameWidth + place.editWidth + kNoteGap;
    m_note = new QLabel(scene);
    m_note->setGeometry(noteLeft, place.top, place.left + place.width - noteLeft, kRowHeight);
    m_message = new QLabel(scene);
    m_message->setGeometry(place.left, place.top + kRowHeight, place.width, kMessageHeight);
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_message->setFont(fonts::make(fonts::pt7));
    QPalette pal = m_message->palette();
    pal.setColor(QPalette::WindowText, QColor::fromRgb(kMessageColour));
    m_message->setPalette(pal);

    QString accessible = name;
    accessible.remove(QLatin1Char('&'));
    if (accessible.endsWith(QLatin1Char(':')))
        accessible.chop(1);
    m_edit->setAccessibleName(accessible.trimmed());
    setValue(value);
    connect(m_edit, &QLineEdit::editingFinished, this, &NumberField::commit);
    connect(m_edit, &QLineEdit::returnPressed, this, &NumberField::commit);
}

void NumberField::setValue(double value)
{
    m_value = value;
    m_shown = QString::fromStdString(formatDecimal(value, m_decimals));
    m_edit->setText(m_shown);
    showMessage({});
}

void NumberField::setNote(const QString& note)
{
    m_note->setText(note);
}

QString NumberField::message() const
{
    return m_message->text();
}

void NumberField::setEnabled(bool enabled)
{
    m_name->setEnabled(enabled);
    m_edit->setEnabled(enabled);
    m_note->setEnabled(enabled);
}

void NumberField::commit()
{
    const QString text = m_edit->text();
    // The text of the value in force, perhaps rounded: nothing to read.
    if (text == m_shown) {
        showMessage({});
        return;
    }
    Reading reading = readNumber(m_field, text);
    if (reading.value && m_check)
        reading.message = m_check(*reading.value);
    if (!reading.value || !reading.message.empty()) {
        showMessage(QString::fromStdString(reading.message));
        return;
    }
    m_value = *reading.value;
    m_shown = text;
    showMessage({});
    emit accepted(m_value);
}

void NumberField::showMessage(const QString& message)
{
    m_message->setText(message);
    m_edit->setAccessibleDescription(message);
    QPalette pal = m_normal;
    if (!message.isEmpty())
        pal.setColor(QPalette::Base, QColor::fromRgb(kRefusedBase));
    m_edit->setPalette(pal);
}

}  // namespace t1
