#include "lab_window/number_field.h"

#include "lab_window/fields.h"
#include "picture/fonts.h"

#include <QLabel>
#include <QLineEdit>

#include <array>

namespace t1 {

namespace {

constexpr int kNoteGap = 4;
constexpr QRgb kMessageColour = qRgb(200, 0, 0);
constexpr QRgb kRefusedBase = qRgb(255, 228, 228);

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// What the field means and what it takes.
QString toolTip(const model::Quantity& q)
{
    const FieldWords words = fieldWords(q);
    QString tip = text(words.toolTip);
    if (!tip.isEmpty())
        tip += QLatin1Char('\n');
    tip += QStringLiteral("Valeur %1").arg(text(rangeText(q, true)));
    if (q.whole)
        tip += QStringLiteral(", nombre entier");
    return tip + QLatin1Char('.');
}

}  // namespace

NumberField::NumberField(QWidget* parent, const model::Quantity& quantity, const QString& caption)
    : QObject(parent), m_quantity(&quantity), m_value(quantity.fallback)
{
    m_name = new QLabel(caption, parent);
    m_edit = new QLineEdit(parent);
    m_name->setBuddy(m_edit);
    m_normal = m_edit->palette();
    m_note = new QLabel(parent);
    m_message = new QLabel(parent);
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_message->setFont(fonts::make(fonts::pt7));
    QPalette pal = m_message->palette();
    pal.setColor(QPalette::WindowText, QColor::fromRgb(kMessageColour));
    m_message->setPalette(pal);

    QString accessible = caption;
    accessible.remove(QLatin1Char('&'));
    if (accessible.endsWith(QLatin1Char(':')))
        accessible.chop(1);
    m_edit->setAccessibleName(accessible.trimmed());
    m_edit->setToolTip(toolTip(quantity));
    setValue(m_value);
    connect(m_edit, &QLineEdit::editingFinished, this, &NumberField::commit);
    connect(m_edit, &QLineEdit::returnPressed, this, &NumberField::commit);
}

void NumberField::place(const FieldPlace& place)
{
    m_name->setGeometry(place.left, place.top, place.nameWidth, kFieldRowHeight);
    m_edit->setGeometry(place.left + place.nameWidth, place.top, place.editWidth, kFieldRowHeight);
    const int noteLeft = place.left + place.nameWidth + place.editWidth + kNoteGap;
    m_note->setGeometry(noteLeft, place.top, place.left + place.width - noteLeft, kFieldRowHeight);
    m_message->setGeometry(place.left, place.top + kFieldRowHeight, place.width, kFieldMessageHeight);
}

int NumberField::nameWidth() const
{
    return m_name->sizeHint().width();
}

void NumberField::setValue(double value)
{
    m_value = value;
    m_shown = text(formatDecimal(value, m_quantity->decimals));
    m_edit->setText(m_shown);
    showMessage({});
}

void NumberField::setNote(const QString& note)
{
    if (m_note->text() != note)
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

void NumberField::setVisible(bool visible)
{
    for (QWidget* w : std::array<QWidget*, 4>{m_name, m_edit, m_note, m_message})
        w->setVisible(visible);
}

bool NumberField::isShown() const
{
    return !m_edit->isHidden();
}

void NumberField::commit()
{
    const QString typed = m_edit->text();
    // The text of the value in force, perhaps rounded: nothing to read.
    if (typed == m_shown) {
        showMessage({});
        return;
    }
    Reading reading = readQuantity(*m_quantity, typed.toStdString());
    if (reading.value && m_check)
        reading.message = m_check(*reading.value);
    if (!reading.value || !reading.message.empty()) {
        showMessage(text(reading.message));
        return;
    }
    m_value = *reading.value;
    m_shown = typed;
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
