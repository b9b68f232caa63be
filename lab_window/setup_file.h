#pragma once

#include "documents/json_file.h"
#include "lab_window/time_display.h"
#include "model/experiment.h"
#include "model/parameters.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace t1 {

// A Laboratoire setup as a file keeps it: every parameter of the form, the
// start, the periods shown and the time unit, and a title for the menu.
struct Setup {
    model::Parameters parameters;
    model::Start start = model::Start::Cold;
    int shownPeriods = model::kDefaultShownPeriods;
    TimeUnit unit = TimeUnit::Periods;
    QString title;  // optional

    bool operator==(const Setup&) const = default;
};

inline constexpr qint64 kMaxSetupBytes = 1024 * 1024;
inline constexpr JsonFormat kSetupFormat{"temperature1-laboratoire", 1, "une configuration du Laboratoire",
                                         kMaxSetupBytes};

// The keys of the file besides the quantities' own (model::Quantity::key)
// and the regulator kinds' (model::RegulatorRow::key).
inline constexpr auto kTitleKey = "title";
inline constexpr auto kRegulatorKey = "regulator";
inline constexpr auto kRegulatorsKey = "regulators";
inline constexpr auto kQuantisedKey = "quantised";
inline constexpr auto kStartKey = "start";
inline constexpr auto kTimeUnitKey = "time_unit";

// The file's text, UTF-8 JSON indented for a person: the format and its
// version, the title if any, the regulator in force, each kind's fields
// under its key, every setting of model::kSettings, the quantisation, the
// start, the periods shown and the time unit, always in that order (the
// tables'), so that two files of one setup are the same bytes.
QByteArray setupJson(const Setup& setup);

// A setup read from a file, or why not. Every value is checked before any
// is used: a value of the wrong JSON type, out of its range or an unknown
// choice refuses the whole file, naming its key; a missing key takes its
// default and is listed; keys the program does not know are ignored.
struct SetupReading {
    std::optional<Setup> setup;
    QString error;          // refused: one French sentence naming the file and the key
    QStringList defaulted;  // read: the keys missing from the file, at their defaults

    bool ok() const { return setup.has_value(); }
};
SetupReading readSetup(const QString& path);
// The same for a file's root object, its format and version already checked;
// path only names the file.
SetupReading setupFromJson(const QJsonObject& root, const QString& path);

// What the message line says of a setup read: the sentence that refused it,
// or that it is open, with its defaulted keys.
QString setupOpenedText(const SetupReading& reading, const QString& path);

}  // namespace t1
