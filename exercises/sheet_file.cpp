#include "exercises/sheet_file.h"

#include "documents/file_errors.h"
#include "lab_window/fields.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>

namespace t1 {

namespace {

using model::Exercise;
using model::FaultCode;
using model::Section;

// The model's names of the sheet's parts and the file's French keys.
struct FileKey {
    std::string_view model;
    const char* file;
};
constexpr std::array kFileKeys{
    FileKey{"title", "titre"},           FileKey{"id", "id"},
    FileKey{"introduction", "introduction"}, FileKey{"exercises", "exercices"},
    FileKey{"kind", "type"},             FileKey{"statement", "enonce"},
    FileKey{"fixed", "fixes"},           FileKey{"hidden", "caches"},
    FileKey{"asked", "reponses"},        FileKey{"criteria", "criteres"},
    FileKey{"regulator", "regulateur"},  FileKey{"regulators", "regulateurs"},
    FileKey{"start", "depart"},          FileKey{"quantised", "quantification"},
    FileKey{"periods", "periodes"},      FileKey{"tries", "essais"},
    FileKey{"reveal", "revelation"},
};

QString fileKey(std::string_view model)
{
    for (const FileKey& k : kFileKeys)
        if (k.model == model)
            return QString::fromUtf8(k.file);
    return QString::fromUtf8(model.data(), qsizetype(model.size()));
}

// The part of an exercise each section's keys are found in.
struct SectionKey {
    Section section;
    std::string_view model;  // empty: the key is the exercise's or the sheet's own
};
constexpr std::array kSectionKeys{
    SectionKey{Section::Sheet, ""},        SectionKey{Section::Exercise, ""},
    SectionKey{Section::Fixed, "fixed"},   SectionKey{Section::Hidden, "hidden"},
    SectionKey{Section::Asked, "asked"},   SectionKey{Section::Criteria, "criteria"},
    SectionKey{Section::Regulators, "regulators"},
};

// What is wrong, as the end of the sentence; %1 and %2 are the fault's low and high.
struct CodeWords {
    FaultCode code;
    const char* words;
};
constexpr std::array kCodeWords{
    CodeWords{FaultCode::Missing, "elle manque ou est vide"},
    CodeWords{FaultCode::TooLong, "le texte dépasse %2 caractères"},
    CodeWords{FaultCode::TooMany, "la feuille compte plus de %2 exercices"},
    CodeWords{FaultCode::UnknownKind, "type d'exercice inconnu (identification, reglage, pile ou prediction)"},
    CodeWords{FaultCode::UnknownKey, "nom inconnu"},
    CodeWords{FaultCode::Unused, "ce type d'exercice n'en fait rien"},
    CodeWords{FaultCode::Duplicate, "elle est donnée deux fois"},
    CodeWords{FaultCode::NotANumber, "ce n'est pas un nombre"},
    CodeWords{FaultCode::OutOfRange, "la valeur doit être comprise entre %1 et %2"},
    CodeWords{FaultCode::NotWhole, "la valeur doit être un nombre entier"},
    CodeWords{FaultCode::InvertedRange, "le minimum « min » dépasse le maximum « max »"},
    CodeWords{FaultCode::BadDecimals, "le nombre de décimales doit être compris entre %1 et %2"},
    CodeWords{FaultCode::Negative, "la valeur ne peut pas être négative"},
    CodeWords{FaultCode::Conflict, "T_s et T_T1 sont donnés tous deux, alors que l'un donne l'autre"},
    CodeWords{FaultCode::RatioOutOfRange, "T_s divisé par T1 peut sortir de l'intervalle de T/T1, de %1 à %2"},
    CodeWords{FaultCode::RevealsHidden,
              "T/T1 dirait la valeur cachée de T1 : donnez la période d'échantillonnage en secondes (T_s)"},
    CodeWords{FaultCode::NotApplicable, "l'essai ne permet pas de le mesurer (échelon de consigne ou porte absents)"},
    CodeWords{FaultCode::NotForKind, "cela ne convient pas à ce type d'exercice"},
};

QString number(double v)
{
    return QString::fromStdString(formatDecimal(v, model::kMaxDecimals));
}

QString sentence(const QString& path, const QString& where)
{
    return fileSentence(path, QStringLiteral("n'est pas une feuille d'exercices utilisable\u00A0: %1").arg(where));
}

QString place(std::optional<std::size_t> exercise, const QString& keys)
{
    const QString key = QStringLiteral("clé « %1 »").arg(keys);
    return exercise ? QStringLiteral("exercice %1, %2").arg(*exercise + 1).arg(key) : key;
}

// Reads the file's JSON into a sheet; stops at the first part it cannot
// read, saying where.
class Reader {
public:
    std::optional<model::Sheet> read(const QJsonObject& root)
    {
        model::Sheet sheet;
        for (auto it = root.begin(); it != root.end(); ++it) {
            const QString key = it.key();
            if (key == QLatin1String(kFormatKey) || key == QLatin1String(kVersionKey))
                continue;
            if (key == fileKey("title"))
                sheet.title = text(*it, {key});
            else if (key == fileKey("id"))
                sheet.id = text(*it, {key});
            else if (key == fileKey("introduction"))
                sheet.introduction = text(*it, {key});
            else if (key == fileKey("exercises"))
                exercises(*it, sheet);
            else
                fail({key}, QStringLiteral("nom inconnu"));
        }
        if (!m_error.isEmpty())
            return std::nullopt;
        return sheet;
    }

    const QString& error() const { return m_error; }

private:
    using Keys = QStringList;

    void fail(const Keys& keys, const QString& what)
    {
        if (m_error.isEmpty())
            m_error = place(m_exercise, keys.join(QStringLiteral(" › "))) + QStringLiteral("\u00A0: ") + what;
    }

    std::string text(const QJsonValue& v, const Keys& keys)
    {
        if (!v.isString())
            fail(keys, QStringLiteral("un texte entre guillemets est attendu"));
        return v.toString().toStdString();
    }

    double real(const QJsonValue& v, const Keys& keys)
    {
        if (!v.isDouble())
            fail(keys, QStringLiteral("un nombre est attendu"));
        return v.toDouble();
    }

    int whole(const QJsonValue& v, const Keys& keys)
    {
        const double d = real(v, keys);
        if (v.isDouble() && (d != std::floor(d) || std::abs(d) > std::numeric_limits<int>::max()))
            fail(keys, QStringLiteral("un nombre entier est attendu"));
        return v.isDouble() && m_error.isEmpty() ? static_cast<int>(d) : 0;
    }

    bool flag(const QJsonValue& v, const Keys& keys)
    {
        if (!v.isBool())
            fail(keys, QStringLiteral("true ou false est attendu"));
        return v.toBool();
    }

    QJsonObject object(const QJsonValue& v, const Keys& keys)
    {
        if (!v.isObject())
            fail(keys, QStringLiteral("un objet entre accolades est attendu"));
        return v.toObject();
    }

    QJsonArray array(const QJsonValue& v, const Keys& keys)
    {
        if (!v.isArray())
            fail(keys, QStringLiteral("une liste entre crochets est attendue"));
        return v.toArray();
    }

    // The keys an object may hold, each with what reads it.
    using Field = std::pair<QString, std::function<void(const QJsonValue&, const Keys&)>>;
    void fields(const QJsonObject& o, const Keys& at, const std::vector<Field>& known)
    {
        for (auto it = o.begin(); it != o.end(); ++it) {
            const Keys keys = at + Keys{it.key()};
            const auto f = std::find_if(known.begin(), known.end(), [&](const Field& k) { return k.first == it.key(); });
            if (f == known.end())
                fail(keys, QStringLiteral("nom inconnu"));
            else
                f->second(*it, keys);
        }
    }

    void exercises(const QJsonValue& v, model::Sheet& sheet)
    {
        const QJsonArray list = array(v, {fileKey("exercises")});
        // The validation refuses more than the limit: the rest is not read.
        for (qsizetype i = 0; i < list.size() && m_error.isEmpty(); ++i) {
            m_exercise = std::size_t(i);
            Exercise e;
            if (i < qsizetype(model::kMaxExercises))
                exercise(object(list[i], {}), e);
            sheet.exercises.push_back(std::move(e));
        }
        if (m_error.isEmpty())
            m_exercise.reset();
    }

    void exercise(const QJsonObject& o, Exercise& e)
    {
        const auto key = [](std::string_view k) { return fileKey(k); };
        fields(o, {},
               {
                   {key("kind"), [&](const QJsonValue& v, const Keys& k) { e.kind = text(v, k); }},
                   {key("statement"), [&](const QJsonValue& v, const Keys& k) { e.statement = text(v, k); }},
                   {key("fixed"), [&](const QJsonValue& v, const Keys& k) { fixed(object(v, k), k, e); }},
                   {key("hidden"), [&](const QJsonValue& v, const Keys& k) { hidden(object(v, k), k, e); }},
                   {key("asked"), [&](const QJsonValue& v, const Keys& k) { asked(array(v, k), k, e); }},
                   {key("criteria"), [&](const QJsonValue& v, const Keys& k) { criteria(array(v, k), k, e); }},
                   {key("regulator"), [&](const QJsonValue& v, const Keys& k) { e.regulator = text(v, k); }},
                   {key("regulators"),
                    [&](const QJsonValue& v, const Keys& k) {
                        for (const QJsonValue& r : array(v, k))
                            e.regulators.push_back(text(r, k));
                    }},
                   {key("start"), [&](const QJsonValue& v, const Keys& k) { e.start = text(v, k); }},
                   {key("quantised"), [&](const QJsonValue& v, const Keys& k) { e.quantised = flag(v, k); }},
                   {key("periods"), [&](const QJsonValue& v, const Keys& k) { e.periods = whole(v, k); }},
                   {key("tries"), [&](const QJsonValue& v, const Keys& k) { e.tries = whole(v, k); }},
                   {key("reveal"), [&](const QJsonValue& v, const Keys& k) { e.revealAfterWrong = flag(v, k); }},
               });
    }

    void fixed(const QJsonObject& o, const Keys& at, Exercise& e)
    {
        for (auto it = o.begin(); it != o.end(); ++it)
            e.fixed.push_back({it.key().toStdString(), real(*it, at + Keys{it.key()})});
    }

    void hidden(const QJsonObject& o, const Keys& at, Exercise& e)
    {
        for (auto it = o.begin(); it != o.end(); ++it) {
            model::HiddenRange r{it.key().toStdString(), 0, 0, 0, std::nullopt};
            const Keys keys = at + Keys{it.key()};
            bool low = false;
            bool high = false;
            fields(object(*it, keys), keys,
                   {
                       {QStringLiteral("min"), [&](const QJsonValue& v, const Keys& k) { r.low = real(v, k); low = true; }},
                       {QStringLiteral("max"), [&](const QJsonValue& v, const Keys& k) { r.high = real(v, k); high = true; }},
                       {QStringLiteral("pas"), [&](const QJsonValue& v, const Keys& k) { r.step = real(v, k); }},
                       {QStringLiteral("decimales"), [&](const QJsonValue& v, const Keys& k) { r.decimals = whole(v, k); }},
                   });
            if (!low || !high)
                fail(keys + Keys{low ? QStringLiteral("max") : QStringLiteral("min")}, QStringLiteral("elle manque"));
            e.hidden.push_back(std::move(r));
        }
    }

    void asked(const QJsonArray& list, const Keys& at, Exercise& e)
    {
        for (const QJsonValue& item : list) {
            model::AskedAnswer a;
            if (item.isString()) {
                a.key = item.toString().toStdString();
            } else {
                model::Tolerance t;
                bool tolerance = false;
                fields(object(item, at), at,
                       {
                           {QStringLiteral("reponse"), [&](const QJsonValue& v, const Keys& k) { a.key = text(v, k); }},
                           {QStringLiteral("pourcent"),
                            [&](const QJsonValue& v, const Keys& k) { t.percent = real(v, k); tolerance = true; }},
                           {QStringLiteral("marge"),
                            [&](const QJsonValue& v, const Keys& k) { t.absolute = real(v, k); tolerance = true; }},
                       });
                if (tolerance)
                    a.tolerance = t;
            }
            e.asked.push_back(std::move(a));
        }
    }

    void criteria(const QJsonArray& list, const Keys& at, Exercise& e)
    {
        for (const QJsonValue& item : list) {
            model::Criterion c;
            fields(object(item, at), at,
                   {
                       {QStringLiteral("critere"), [&](const QJsonValue& v, const Keys& k) { c.key = text(v, k); }},
                       {QStringLiteral("borne"), [&](const QJsonValue& v, const Keys& k) { c.bound = real(v, k); }},
                       {QStringLiteral("bande"), [&](const QJsonValue& v, const Keys& k) { c.band = real(v, k); }},
                   });
            e.criteria.push_back(std::move(c));
        }
    }

    std::optional<std::size_t> m_exercise;
    QString m_error;
};

}  // namespace

QString faultText(const model::Fault& fault)
{
    const auto section = std::find_if(kSectionKeys.begin(), kSectionKeys.end(),
                                      [&](const SectionKey& s) { return s.section == fault.section; });
    const QString key = fileKey(fault.key);
    QString keys = key;
    if (section != kSectionKeys.end() && !section->model.empty()) {
        const QString part = fileKey(section->model);
        keys = key == part ? part : part + QStringLiteral(" › ") + key;
    }
    const auto words = std::find_if(kCodeWords.begin(), kCodeWords.end(),
                                    [&](const CodeWords& w) { return w.code == fault.code; });
    QString what = words == kCodeWords.end() ? QStringLiteral("valeur refusée") : QString::fromUtf8(words->words);
    if (what.contains(QLatin1String("%1")))
        what = what.arg(number(fault.low));
    if (what.contains(QLatin1String("%2")))
        what = what.arg(number(fault.high));
    return place(fault.exercise, keys) + QStringLiteral("\u00A0: ") + what;
}

namespace {

SheetFile sheetOf(const JsonFile& file, const QString& path)
{
    if (!file.ok())
        return {std::nullopt, file.error};
    Reader reader;
    std::optional<model::Sheet> sheet = reader.read(file.root);
    if (!sheet)
        return {std::nullopt, sentence(path, reader.error())};
    const std::vector<model::Fault> faults = model::validate(*sheet);
    if (!faults.empty())
        return {std::nullopt, sentence(path, faultText(faults.front()))};
    return {std::move(sheet), {}};
}

}  // namespace

SheetFile parseSheet(const QByteArray& data, const QString& path)
{
    return sheetOf(JsonFile::parse(data, path, kSheetFormat), path);
}

SheetFile readSheet(const QString& path)
{
    return sheetOf(JsonFile::read(path, kSheetFormat), path);
}

}  // namespace t1
