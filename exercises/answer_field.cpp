#include "exercises/answer_field.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <string>

namespace t1 {

namespace {

constexpr double kPercent = 100;
// An answer is not a setting: any number a student could mean is read.
constexpr double kWidest = 1e9;
constexpr int kBoxWidth = 90;
constexpr auto kRefusedStyle = "color: #b00000;";

}  // namespace

model::Quantity answerQuantity(std::string_view key, std::string_view symbol, model::Unit unit, int decimals)
{
    return {key, symbol, unit, -kWidest, kWidest, false, unit == model::Unit::Digits, 0, decimals};
}

Reading readAnswer(const model::Quantity& q, std::string_view text)
{
    text = trimmed(text);
    if (text.empty())
        return {};
    if (!text.ends_with('%'))
        return readQuantity(q, text);
    const std::string subject = fieldWords(q).subject;
    if (q.unit != model::Unit::None)
        return {std::nullopt, subject + " : un pourcentage ne convient pas ici, entrez une valeur" + unitSuffix(q.unit) + "."};
    Reading r = readQuantity(q, text.substr(0, text.size() - 1));
    if (r.value)
        *r.value /= kPercent;
    return r;
}

AnswerField::AnswerField(QWidget* parent, const model::Quantity& quantity, const QString& caption, bool required)
    : QWidget(parent), m_quantity(quantity), m_required(required), m_edit(new QLineEdit(this)), m_message(new QLabel(this))
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* name = new QLabel(caption, this);
    name->setBuddy(m_edit);
    m_edit->setFixedWidth(kBoxWidth);
    m_edit->setAccessibleName(caption);
    grid->addWidget(name, 0, 0);
    grid->addWidget(m_edit, 0, 1);
    grid->addWidget(new QLabel(QString::fromStdString(unitSuffix(quantity.unit)).trimmed(), this), 0, 2);
    grid->setColumnStretch(3, 1);
    m_message->setStyleSheet(QString::fromLatin1(kRefusedStyle));
    m_message->setWordWrap(true);
    m_message->hide();
    grid->addWidget(m_message, 1, 0, 1, 4);
    connect(m_edit, &QLineEdit::editingFinished, this, [this] { read(); });
}

std::optional<double> AnswerField::read()
{
    const std::string text = m_edit->text().toStdString();
    const Reading r = m_required ? readQuantity(m_quantity, text) : readAnswer(m_quantity, text);
    m_message->setText(QString::fromStdString(r.message));
    m_message->setVisible(!r.message.empty());
    return r.value;
}

bool AnswerField::refused() const
{
    return !m_message->text().isEmpty();
}

QString AnswerField::message() const
{
    return m_message->text();
}

QString AnswerField::text() const
{
    return m_edit->text();
}

void AnswerField::setText(const QString& text)
{
    m_edit->setText(text);
    m_message->clear();
    m_message->hide();
}

void AnswerField::setReadOnly(bool readOnly)
{
    m_edit->setReadOnly(readOnly);
}

}  // namespace t1
