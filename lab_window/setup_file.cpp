#include "lab_window/setup_file.h"

#include "documents/file_errors.h"
#include "lab_window/fields.h"
#include "model/sheet.h"
#include "picture/number_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <array>
#include <charconv>
#include <cmath>
#include <vector>

namespace t1 {

namespace {

constexpr int kIndent = 4;
// Room for the shortest text of any double.
constexpr int kNumberBuffer = 32;
// A value quoted in a message is cut after this many characters.
constexpr qsizetype kQuotedLength = 40;

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The shortest text that reads back as the same double.
QByteArray numberJson(double value)
{
    std::array<char, kNumberBuffer> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return ec == std::errc() ? QByteArray(buffer.data(), end - buffer.data()) : QByteArray("0");
}

QByteArray stringJson(const QString& s)
{
    const QByteArray array = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArray stringJson(std::string_view utf8)
{
    return stringJson(text(utf8));
}

struct Member {
    QByteArray key;
    QByteArray value;  // already JSON
};

Member member(std::string_view key, QByteArray value)
{
    return {stringJson(key), std::move(value)};
}

// One member a line, indented by depth.
QByteArray block(const std::vector<Member>& members, int depth)
{
    const QByteArray inner((depth + 1) * kIndent, ' ');
    QByteArray out = "{\n";
    for (std::size_t i = 0; i < members.size(); ++i)
        out += inner + members[i].key + ": " + members[i].value + (i + 1 < members.size() ? ",\n" : "\n");
    return out + QByteArray(depth * kIndent, ' ') + '}';
}

// All members on one line: a kind's few fields.
QByteArray line(const std::vector<Member>& members)
{
    QByteArray out = "{ ";
    for (std::size_t i = 0; i < members.size(); ++i)
        out += members[i].key + ": " + members[i].value + (i + 1 < members.size() ? ", " : " ");
    return out + '}';
}

std::string_view startKey(model::Start start)
{
    for (const model::StartKey& row : model::kStarts)
        if (row.start == start)
            return row.key;
    return model::kStarts.front().key;
}

// A number as the messages print it: the shortest exact text, with the
// separator the fields use.
QString shownNumber(double value)
{
    return QString::fromLatin1(numberJson(value)).replace(QLatin1Char('.'), localeDecimalSeparator());
}

// A value of the file as it stands there, for a message.
QString quoted(const QJsonValue& value)
{
    if (value.isString())
        return QStringLiteral("« %1 »").arg(value.toString().left(kQuotedLength));
    if (value.isDouble())
        return shownNumber(value.toDouble());
    const QString json = QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
    return json.mid(1, json.size() - 2).left(kQuotedLength);
}

// A key of the file: its name, and the kind it belongs to for a regulator's field.
struct Key {
    QString name;
    QString kind;  // empty outside "regulators"

    // In a message: "la clé « G » du régulateur « P »".
    QString phrase() const
    {
        return QStringLiteral("la clé « %1 »").arg(name)
               + (kind.isEmpty() ? QString() : QStringLiteral(" du régulateur « %1 »").arg(kind));
    }
    // In the list of missing keys: "G (P)".
    QString listed() const { return kind.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, kind); }
};

// Reads the values into a setup, keeping the first refusal.
class Reader {
public:
    explicit Reader(const QString& path) : m_path(path) {}

    // The value of a key, none when it is missing (listed) or after a refusal.
    std::optional<QJsonValue> value(const QJsonObject& object, const Key& key)
    {
        if (!m_error.isEmpty())
            return std::nullopt;
        const auto found = object.constFind(key.name);
        if (found == object.constEnd()) {
            m_defaulted.append(key.listed());
            return std::nullopt;
        }
        return *found;
    }

    void number(const QJsonObject& object, const Key& key, const model::Quantity& q, auto&& set)
    {
        const std::optional<QJsonValue> v = value(object, key);
        if (!v)
            return;
        if (!v->isDouble()) {
            refuse(QStringLiteral("%1 n'est pas un nombre (elle vaut %2)").arg(key.phrase(), quoted(*v)));
            return;
        }
        const double n = v->toDouble();
        const QString is = QStringLiteral("%1 vaut %2").arg(key.phrase(), quoted(*v));
        if (!std::isfinite(n) || n > q.high || n < q.low || (q.lowExcluded && n <= q.low))
            refuse(QStringLiteral("%1 ; elle doit être %2").arg(is, text(rangeText(q, true))));
        else if (q.whole && n != std::floor(n))
            refuse(QStringLiteral("%1 ; elle doit être un nombre entier").arg(is));
        else
            set(n);
    }

    // One of a table's keys; its index.
    void choice(const QJsonObject& object, const Key& key, const auto& rows, auto keyOf, auto&& set)
    {
        const std::optional<QJsonValue> v = value(object, key);
        if (!v)
            return;
        QStringList keys;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const QString k = text(keyOf(rows[i]));
            if (v->isString() && v->toString() == k) {
                set(i);
                return;
            }
            keys.append(QStringLiteral("« %1 »").arg(k));
        }
        const QString last = keys.takeLast();
        refuse(QStringLiteral("%1 vaut %2 ; elle doit valoir %3 ou %4")
                   .arg(key.phrase(), quoted(*v), keys.join(QStringLiteral(", ")), last));
    }

    void flag(const QJsonObject& object, const Key& key, bool& target)
    {
        if (const std::optional<QJsonValue> v = value(object, key)) {
            if (v->isBool())
                target = v->toBool();
            else
                refuse(QStringLiteral("%1 vaut %2 ; elle doit valoir true ou false").arg(key.phrase(), quoted(*v)));
        }
    }

    void string(const QJsonObject& object, const Key& key, QString& target)
    {
        const auto found = object.constFind(key.name);
        if (!m_error.isEmpty() || found == object.constEnd())
            return;  // optional: not listed when missing
        if (found->isString())
            target = found->toString();
        else
            refuse(QStringLiteral("%1 doit être un texte entre guillemets").arg(key.phrase()));
    }

    // An object of the file; an empty one when it is missing (listed) or refused.
    QJsonObject object(const QJsonObject& parent, const Key& key)
    {
        const std::optional<QJsonValue> v = value(parent, key);
        if (!v)
            return {};
        if (!v->isObject())
            refuse(QStringLiteral("%1 doit être un objet JSON entre accolades").arg(key.phrase()));
        return v->toObject();
    }

    SetupReading result(Setup setup) const
    {
        if (!m_error.isEmpty())
            return {std::nullopt, m_error, {}};
        return {std::move(setup), {}, m_defaulted};
    }

private:
    void refuse(const QString& reason)
    {
        if (m_error.isEmpty())
            m_error = fileSentence(m_path, QStringLiteral(": ") + reason);
    }

    QString m_path;
    QString m_error;
    QStringList m_defaulted;
};

}  // namespace

QByteArray setupJson(const Setup& setup)
{
    const model::Parameters& p = setup.parameters;
    std::vector<Member> root{
        member(kFormatKey, stringJson(std::string_view(kSetupFormat.name))),
        member(kVersionKey, QByteArray::number(kSetupFormat.version)),
    };
    if (!setup.title.isEmpty())
        root.push_back(member(kTitleKey, stringJson(setup.title)));
    root.push_back(member(kRegulatorKey, stringJson(p.row().key)));
    std::vector<Member> kinds;
    for (std::size_t r = 0; r < model::kRegulatorCount; ++r) {
        const model::RegulatorRow& row = model::kRegulators[r];
        std::vector<Member> fields;
        for (std::size_t f = 0; f < row.fieldCount; ++f)
            fields.push_back(member(row.fields()[f].key, numberJson(p.fields[r][f])));
        kinds.push_back(member(row.key, line(fields)));
    }
    root.push_back(member(kRegulatorsKey, block(kinds, 1)));
    for (const model::Setting& s : model::kSettings)
        root.push_back(member(s.quantity.key, numberJson(s.get(p))));
    root.push_back(member(kQuantisedKey, p.quantised ? "true" : "false"));
    root.push_back(member(kStartKey, stringJson(startKey(setup.start))));
    root.push_back(member(model::kShownPeriods.key, numberJson(setup.shownPeriods)));
    root.push_back(member(kTimeUnitKey, stringJson(timeUnitRow(setup.unit).key)));
    return block(root, 0) + '\n';
}

SetupReading setupFromJson(const QJsonObject& root, const QString& path)
{
    Reader read(path);
    Setup setup;
    model::Parameters& p = setup.parameters;
    read.string(root, {QString::fromLatin1(kTitleKey), {}}, setup.title);
    read.choice(root, {QString::fromLatin1(kRegulatorKey), {}}, model::kRegulators,
                [](const model::RegulatorRow& row) { return row.key; },
                [&p](std::size_t i) { p.regulator = model::Regulator(i); });
    const Key kindsKey{QString::fromLatin1(kRegulatorsKey), {}};
    const bool kindsGiven = root.contains(kindsKey.name);
    const QJsonObject kinds = read.object(root, kindsKey);
    for (std::size_t r = 0; kindsGiven && r < model::kRegulatorCount; ++r) {
        const model::RegulatorRow& row = model::kRegulators[r];
        const Key kindKey{text(row.key), {}};
        const bool given = kinds.contains(kindKey.name);
        const QJsonObject fields = read.object(kinds, kindKey);
        for (std::size_t f = 0; given && f < row.fieldCount; ++f)
            read.number(fields, {text(row.fields()[f].key), text(row.key)}, row.fields()[f],
                        [&p, r, f](double v) { p.fields[r][f] = v; });
    }
    for (const model::Setting& s : model::kSettings)
        read.number(root, {text(s.quantity.key), {}}, s.quantity, [&p, &s](double v) { s.set(p, v); });
    read.flag(root, {QString::fromLatin1(kQuantisedKey), {}}, p.quantised);
    read.choice(root, {QString::fromLatin1(kStartKey), {}}, model::kStarts,
                [](const model::StartKey& row) { return row.key; },
                [&setup](std::size_t i) { setup.start = model::kStarts[i].start; });
    read.number(root, {text(model::kShownPeriods.key), {}}, model::kShownPeriods,
                [&setup](double v) { setup.shownPeriods = static_cast<int>(v); });
    read.choice(root, {QString::fromLatin1(kTimeUnitKey), {}}, kTimeUnits,
                [](const TimeUnitRow& row) { return row.key; },
                [&setup](std::size_t i) { setup.unit = kTimeUnits[i].unit; });
    return read.result(std::move(setup));
}

SetupReading readSetup(const QString& path)
{
    const JsonFile file = JsonFile::read(path, kSetupFormat);
    if (!file.ok())
        return {std::nullopt, file.error, {}};
    return setupFromJson(file.root, path);
}

QString setupOpenedText(const SetupReading& reading, const QString& path)
{
    if (!reading.ok())
        return reading.error;
    const QString title = reading.setup->title;
    QString said = title.isEmpty()
                       ? QStringLiteral("Configuration ouverte : « %1 ».").arg(path)
                       : QStringLiteral("Configuration « %1 » ouverte (« %2 »).").arg(title, path);
    if (!reading.defaulted.isEmpty())
        said += QStringLiteral(" Absentes du fichier, ces clés prennent leur valeur par défaut : %1.")
                    .arg(reading.defaulted.join(QStringLiteral(", ")));
    return said;
}

}  // namespace t1
