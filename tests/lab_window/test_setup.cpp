// Setups as files: saved and opened again through the keys, refused whole
// when anything in them is wrong, the recent files, the examples, a drop.
#include "tests/lab_window/lab_rig.h"

#include "lab_window/setup_file.h"
#include "lab_window/setup_menu.h"
#include "model/poles.h"
#include "tests/support/scoped_locale.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>

using namespace t1;
using namespace t1::testing;
using model::Regulator;

namespace {

class SetupTest : public LabRig {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // The recent files in a settings folder of the test's own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath(QStringLiteral("config")));
        LabRig::SetUp();
        lab->exporter().setAskPath([this](const SaveRequest&, const QString&) { return savePath; });
        lab->exporter().setAskOpenPath([this](const SaveRequest&, const QString&) { return openPath; });
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    // A file of the format with these members after the version.
    QString setupFile(const QString& name, const QByteArray& members)
    {
        return write(name, "{ \"format\": \"temperature1-laboratoire\", \"version\": 1" + members + " }");
    }

    // Every number off its default, every kind's fields too.
    static t1::Setup unusual()
    {
        t1::Setup s;
        double at = 0.13;
        for (const model::Setting& setting : model::kSettings)
            setting.set(s.parameters, setting.quantity.bring(setting.quantity.low + (at += 0.07) * (setting.quantity.high - setting.quantity.low)));
        for (std::size_t r = 0; r < model::kRegulatorCount; ++r)
            for (std::size_t f = 0; f < model::kRegulators[r].fieldCount; ++f) {
                const model::Quantity& q = model::kRegulators[r].fields()[f];
                s.parameters.fields[r][f] = q.bring(q.low + (at += 0.05) * (q.high - q.low));
            }
        s.parameters.regulator = Regulator::PID;
        s.parameters.quantised = false;
        s.start = model::Start::Steady;
        s.shownPeriods = 17;
        s.unit = TimeUnit::Seconds;
        return s;
    }

    QAction* menuAction(const QString& text) const
    {
        const QList<QAction*> actions = lab->setupMenu()->actions();
        const auto found = std::find_if(actions.begin(), actions.end(), [&text](QAction* a) {
            return a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0) == text;
        });
        return found == actions.end() ? nullptr : *found;
    }

    // Opens the menu and clicks one of its lines, as the user does.
    void chooseInMenu(const QString& text)
    {
        SetupMenu* menu = lab->setupMenu();
        menu->popup(lab->setupButton->mapToGlobal(QPoint(0, lab->setupButton->height())));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QAction* action = menuAction(text);
        ASSERT_NE(action, nullptr) << text.toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        EXPECT_FALSE(menu->isVisible());
    }

    QTemporaryDir dir;
    QString savePath;
    QString openPath;
    ScopedLocale french;
};

QString example(const char* name)
{
    return QStringLiteral(T1_RESOURCES_DIR "/exemples/") + QString::fromLatin1(name);
}

}  // namespace

TEST_F(SetupTest, SavedAndOpenedAgainEveryValueComesBack)
{
    const t1::Setup saved = unusual();
    lab->applySetup(saved);
    savePath = dir.filePath(QStringLiteral("montage.json"));
    press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QFile file(savePath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(lab->message().contains(savePath)) << lab->message().toStdString();

    // Indented, with the tables' keys in the tables' order.
    EXPECT_TRUE(bytes.startsWith("{\n    \"format\": \"temperature1-laboratoire\",\n    \"version\": 1,\n"));
    qsizetype last = bytes.indexOf("\"regulators\"");
    for (const model::Setting& s : model::kSettings) {
        const qsizetype at = bytes.indexOf("\n    \"" + QByteArray(s.quantity.key.data()) + "\": ");
        EXPECT_GT(at, last) << s.quantity.key;
        last = at;
    }
    EXPECT_TRUE(bytes.contains("\"PI\": { \"q0\": "));

    lab->applySetup({});
    ASSERT_NE(lab->setup(), saved);
    openPath = savePath;
    press(Qt::Key_O, Qt::ControlModifier);
    const t1::Setup opened = lab->setup();
    for (const model::Setting& s : model::kSettings)
        EXPECT_EQ(s.get(opened.parameters), s.get(saved.parameters)) << s.quantity.key;
    for (std::size_t r = 0; r < model::kRegulatorCount; ++r)
        for (std::size_t f = 0; f < model::kRegulators[r].fieldCount; ++f)
            EXPECT_EQ(opened.parameters.fields[r][f], saved.parameters.fields[r][f]) << r << f;
    EXPECT_EQ(opened.parameters.regulator, Regulator::PID);
    EXPECT_TRUE(lab->regulatorButton(Regulator::PID)->isChecked());
    EXPECT_FALSE(opened.parameters.quantised);
    EXPECT_EQ(opened.start, model::Start::Steady);
    EXPECT_TRUE(lab->steadyStart->isChecked());
    EXPECT_EQ(opened.shownPeriods, 17);
    EXPECT_EQ(opened.unit, TimeUnit::Seconds);
    EXPECT_EQ(experiment().parameters(), saved.parameters);  // in force at once, the seed too
    EXPECT_EQ(setupJson(opened), bytes);  // the same setup, the same bytes

    // Opened during a run, a setup starts a new one, paused; the run goes on the traces.
    click(lab->startButton);
    periods(2);
    lab->openSetup(savePath);
    EXPECT_EQ(experiment().traces().size(), 1u);
    EXPECT_TRUE(run().samples().empty());
    EXPECT_TRUE(lab->startButton->isEnabled());
}

TEST_F(SetupTest, AFileRefusedChangesNothingAndSaysWhyNamingTheKey)
{
    const t1::Setup before = unusual();
    lab->applySetup(before);
    click(lab->startButton);
    periods(1);
    const std::size_t acquired = samples().size();
    const QByteArray huge = "{ \"format\": \"temperature1-laboratoire\", \"version\": 1, \"pad\": \""
                            + QByteArray(kMaxSetupBytes, 'x') + "\" }";
    QDir(dir.path()).mkdir(QStringLiteral("dossier.json"));
    const struct {
        QString path;
        const char* says;
    } cases[] = {
        {write("coupe.json", "{ \"format\": \"temperature1-laboratoire\", "), "s'arrête avant la fin"},
        {write("binaire.json", QByteArray("{\0\1", 3)), "binaire"},
        {write("nan.json", "{ \"format\": \"temperature1-laboratoire\", \"version\": 1, \"K\": NaN }"),
         "n'est pas du JSON valable"},
        {write("liste.json", "[1, 2]"), "objet JSON"},
        {write("autre.json", "{ \"format\": \"feuille\", \"version\": 1 }"), "n'est pas une configuration du Laboratoire"},
        {write("v2.json", "{ \"format\": \"temperature1-laboratoire\", \"version\": 2 }"), "version 2"},
        {write("gros.json", huge), "trop volumineux"},
        {dir.filePath(QStringLiteral("dossier.json")), "pas un fichier ordinaire"},
        {dir.filePath(QStringLiteral("absent.json")), "illisible"},
        {setupFile("k.json", ", \"K\": 0"), "la clé « K » vaut 0 ; elle doit être comprise entre 0,1 et 5."},
        {setupFile("texte.json", ", \"K\": \"2\""), "la clé « K » n'est pas un nombre (elle vaut « 2 »)"},
        {setupFile("g.json", ", \"regulators\": { \"P\": { \"G\": 500 } }"),
         "la clé « G » du régulateur « P » vaut 500 ; elle doit être comprise entre 0 et 100."},
        {setupFile("pd.json", ", \"regulator\": \"PD\""),
         "la clé « regulator » vaut « PD » ; elle doit valoir « P », « PI », « PID » ou « manuel »."},
        {setupFile("porte.json", ", \"door_from\": 2.5"), "la clé « door_from » vaut 2,5 ; elle doit être un nombre entier."},
        {setupFile("quant.json", ", \"quantised\": 1"), "la clé « quantised » vaut 1 ; elle doit valoir true ou false."},
        {setupFile("depart.json", ", \"start\": \"chaud\""), "« froid » ou « permanent »"},
        {setupFile("kinds.json", ", \"regulators\": [2]"), "la clé « regulators » doit être un objet JSON"},
        {setupFile("titre.json", ", \"title\": 3"), "la clé « title » doit être un texte"},
    };
    for (const auto& c : cases) {
        const SetupReading read = lab->openSetup(c.path);
        EXPECT_FALSE(read.ok()) << c.path.toStdString();
        EXPECT_TRUE(lab->message().startsWith(QStringLiteral("Le fichier « %1 »").arg(c.path))) << lab->message().toStdString();
        EXPECT_TRUE(lab->message().contains(QString::fromUtf8(c.says))) << lab->message().toStdString();
        EXPECT_EQ(lab->setup(), before) << c.path.toStdString();
        EXPECT_EQ(samples().size(), acquired);
        EXPECT_TRUE(experiment().traces().empty());
    }
    EXPECT_TRUE(recentSetups().isEmpty());
}

TEST_F(SetupTest, MissingKeysTakeTheirDefaultsAndAreListedUnknownOnesAreIgnored)
{
    lab->applySetup(unusual());
    const QString path = setupFile("court.json", ", \"K\": 2, \"couleur\": \"bleu\", \"regulators\": { \"PI\": { \"q0\": 3 } }");
    const SetupReading read = lab->openSetup(path);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    t1::Setup expected;
    expected.parameters.oven.gain = 2;
    expected.parameters.field(Regulator::PI, model::kQ0Field) = 3;
    EXPECT_EQ(lab->setup(), expected);
    for (const char* key : {"theta_T1", "noise_mV", "q1 (PI)", "P", "regulator", "start", "time_unit"})
        EXPECT_TRUE(read.defaulted.contains(QString::fromUtf8(key))) << key;
    EXPECT_FALSE(read.defaulted.contains(QStringLiteral("K")));
    EXPECT_FALSE(read.defaulted.contains(QStringLiteral("couleur")));
    EXPECT_TRUE(lab->message().contains(QStringLiteral("valeur par défaut : ")));
    EXPECT_TRUE(lab->message().contains(QStringLiteral("q1 (PI)")));
}

TEST_F(SetupTest, TheMenuOffersTheLastFiveMostRecentFirstAndTheExamples)
{
    QStringList paths;
    for (int i = 0; i < 7; ++i) {
        savePath = dir.filePath(QStringLiteral("essai%1.json").arg(i));
        chooseInMenu(QStringLiteral("Enregistrer la configuration…"));
        paths.prepend(savePath);
    }
    EXPECT_EQ(recentSetups(), paths.mid(0, kMaxRecentSetups));
    QFile::remove(paths[1]);
    openPath = paths[3];
    chooseInMenu(QStringLiteral("Ouvrir une configuration…"));
    EXPECT_EQ(recentSetups(), (QStringList{paths[3], paths[0], paths[2], paths[4]}));

    // A recent file and an example, by their names in the menu.
    lab->applySetup(unusual());
    chooseInMenu(QStringLiteral("essai2.json"));
    EXPECT_EQ(lab->setup(), t1::Setup{});
    EXPECT_EQ(recentSetups().constFirst(), paths[4]);
    const SetupReading p = readSetup(example("p-retard.json"));
    ASSERT_TRUE(p.ok());
    chooseInMenu(p.setup->title);
    EXPECT_EQ(lab->setup(), *p.setup);
}

TEST_F(SetupTest, TheExamplesAreCompleteAndSayWhatTheirTitlesSay)
{
    const QStringList installed = exampleSetupPaths();
    for (std::size_t i = 0; i < kExampleSetups.size(); ++i) {
        const QString path = example(kExampleSetups[i]);
        EXPECT_FALSE(installed[qsizetype(i)].isEmpty()) << kExampleSetups[i];
        const SetupReading read = readSetup(path);
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        EXPECT_TRUE(read.defaulted.isEmpty()) << read.defaulted.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(read.setup->title.isEmpty());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(setupJson(*read.setup), file.readAll()) << kExampleSetups[i];  // as the program writes it
    }
    // The delay makes the gain chosen unstable: without it the loop is stable.
    model::Parameters p = readSetup(example("p-retard.json")).setup->parameters;
    const auto unstable = [](const model::Parameters& q) { return !model::closedLoopPoles(q).stable; };
    EXPECT_TRUE(unstable(p));
    p.oven.delay = 0;
    EXPECT_FALSE(unstable(p));
    EXPECT_GT(readSetup(example("pid-bruit.json")).setup->parameters.noise.millivolts, 0);
    EXPECT_FALSE(readSetup(example("identification.json")).setup->parameters.row().closed);
}

TEST_F(SetupTest, AJsonFileDroppedOnTheWindowOpens)
{
    const QString path = setupFile("depose.json", ", \"K\": 3, \"time_unit\": \"secondes\"");
    const QString text = write("notes.txt", "K = 3");
    const auto drop = [this](const QString& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        const QPoint at(lab->width() / 2, lab->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(lab.get(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(lab.get(), &dropped);
        return enter.isAccepted();
    };
    EXPECT_FALSE(drop(text));
    EXPECT_EQ(lab->setup(), t1::Setup{});
    EXPECT_TRUE(drop(path));
    EXPECT_EQ(lab->setup().parameters.oven.gain, 3);
    EXPECT_EQ(lab->timeDisplay().unit, TimeUnit::Seconds);
    EXPECT_TRUE(lab->timeUnitButton(TimeUnit::Seconds)->isChecked());
}
