#include "exercises/progress.h"

#include "documents/json_file.h"
#include "stage/file_writes.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>

#include <chrono>
#include <cmath>

namespace t1 {

namespace {

constexpr JsonFormat kProgressFormat{"temperature1-progression", 1, "une progression d'exercices", 4 * 1024 * 1024};
constexpr auto kFolder = "progression";
constexpr auto kLockSuffix = ".lock";
// A lock is held for as long as the window is open. On this computer
// QLockFile sees that a crashed program's process is gone and takes its
// lock over; a lock left by another computer sharing the home folder,
// whose process it cannot check, counts as stale after a school day (a
// window open longer loses its guard).
constexpr std::chrono::hours kStaleLock{12};

QString key(const char* k)
{
    return QString::fromLatin1(k);
}

QJsonObject judgementJson(const ShownJudgement& j)
{
    return {{key("nom"), j.name}, {key("valeur"), j.value}, {key("juste"), j.met}};
}

// A file's steps: those of a run's span, each once, in time order.
std::vector<model::CommandStep> stepsFrom(const QJsonArray& list)
{
    std::vector<model::CommandStep> steps;
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        const double at = o.value(key("acquisition")).toDouble(-1);
        const double volts = o.value(key("U")).toDouble(NAN);
        if (at >= 0 && at <= model::kExercisePeriods.high && at == std::floor(at) && std::isfinite(volts))
            model::placeStep(steps, {int(at), volts});
    }
    return steps;
}

QJsonObject exerciseJson(const ExerciseProgress& e)
{
    QJsonObject typed;
    for (const auto& [k, text] : e.typed)
        typed[k] = text;
    QJsonArray verdict;
    for (const ShownJudgement& j : e.lastVerdict)
        verdict.append(judgementJson(j));
    QJsonArray steps;
    for (const model::CommandStep& s : e.steps)
        steps.append(QJsonObject{{key("acquisition"), s.acquisition}, {key("U"), s.volts}});
    return {
        {key("essais"), e.tries},
        {key("reussi"), e.solved},
        {key("termine"), e.finished},
        {key("revele"), e.revealed},
        {key("reponses"), typed},
        {key("regulateur"), e.regulator},
        {key("echelons"), steps},
        {key("verdict"), verdict},
        {key("debut"), e.started.toString(Qt::ISODate)},
        {key("dernier_essai"), e.lastTry.toString(Qt::ISODate)},
        {key("periode"), e.period},
        {key("justes"), e.right},
        {key("jugees"), e.judged},
    };
}

ExerciseProgress exerciseFrom(const QJsonObject& o)
{
    ExerciseProgress e;
    e.tries = o.value(key("essais")).toInt();
    e.solved = o.value(key("reussi")).toBool();
    e.finished = o.value(key("termine")).toBool();
    e.revealed = e.finished && o.value(key("revele")).toBool();
    const QJsonObject typed = o.value(key("reponses")).toObject();
    for (auto it = typed.begin(); it != typed.end(); ++it)
        e.typed[it.key()] = it->toString();
    e.regulator = o.value(key("regulateur")).toString();
    e.steps = stepsFrom(o.value(key("echelons")).toArray());
    for (const QJsonValue& v : o.value(key("verdict")).toArray()) {
        const QJsonObject j = v.toObject();
        e.lastVerdict.push_back({j.value(key("nom")).toString(), j.value(key("valeur")).toString(),
                                 j.value(key("juste")).toBool()});
    }
    e.started = QDateTime::fromString(o.value(key("debut")).toString(), Qt::ISODate);
    e.lastTry = QDateTime::fromString(o.value(key("dernier_essai")).toString(), Qt::ISODate);
    e.period = o.value(key("periode")).toInt();
    e.right = o.value(key("justes")).toInt();
    e.judged = o.value(key("jugees")).toInt();
    return e;
}

}  // namespace

QString progressPath(const QString& sheetId, const QString& normalisedStudent)
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(dir).filePath(QStringLiteral("%1/%2-%3.json")
                                  .arg(QLatin1String(kFolder), safeFileName(sheetId), safeFileName(normalisedStudent)));
}

std::optional<HeldProgress> holdProgress(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    auto lock = std::make_unique<QLockFile>(path + QLatin1String(kLockSuffix));
    lock->setStaleLockTime(kStaleLock);
    if (lock->tryLock(std::chrono::milliseconds::zero()))
        return HeldProgress{path, std::move(lock)};
    if (lock->error() == QLockFile::LockFailedError)
        return std::nullopt;
    return HeldProgress{path, nullptr};
}

QJsonObject progressJson(const SheetProgress& progress, const QString& sheetId, const QString& student)
{
    QJsonArray exercises;
    for (const ExerciseProgress& e : progress.exercises)
        exercises.append(exerciseJson(e));
    return {{QLatin1String(kFormatKey), QLatin1String(kProgressFormat.name)},
            {QLatin1String(kVersionKey), kProgressFormat.version},
            {key("feuille"), sheetId},
            {key("eleve"), student},
            {key("exercices"), exercises}};
}

SheetProgress progressFromJson(const QJsonObject& root, const QString& sheetId, std::size_t exercises)
{
    SheetProgress p;
    const QJsonArray list = root.value(key("exercices")).toArray();
    const bool same = root.value(key("feuille")).toString() == sheetId && std::size_t(list.size()) == exercises;
    for (std::size_t i = 0; i < exercises; ++i)
        p.exercises.push_back(same ? exerciseFrom(list[qsizetype(i)].toObject()) : ExerciseProgress{});
    return p;
}

SheetProgress loadProgress(const QString& path, const QString& sheetId, std::size_t exercises)
{
    const JsonFile file = JsonFile::read(path, kProgressFormat);
    return progressFromJson(file.ok() ? file.root : QJsonObject{}, sheetId, exercises);
}

QString saveProgress(const SheetProgress& progress, const QString& path, const QString& sheetId,
                     const QString& student)
{
    QDir().mkpath(QFileInfo(path).path());
    return writeFile(QJsonDocument(progressJson(progress, sheetId, student)).toJson(), path);
}

}  // namespace t1
