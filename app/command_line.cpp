#include "app/command_line.h"

#include "documents/file_errors.h"
#include "documents/regular_file.h"
#include "exercises/correction_text.h"
#include "exercises/sheet_file.h"
#include "lab_window/laboratory.h"
#include "shell/application.h"

#include <QCoreApplication>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr auto kDescription = "Animation de la régulation numérique de la température d'un four.";
constexpr int kUsageError = 2;  // as the shell's own commands say a command line is wrong

int printHelp(const CommandLine& line, const QString&)
{
    std::fputs(qPrintable(line.helpText()), stdout);
    return EXIT_SUCCESS;
}

int printVersion(const CommandLine&, const QString&)
{
    std::printf("Temperature1 %s\n", T1_VERSION);
    return EXIT_SUCCESS;
}

// A class list is a few hundred names at most.
constexpr qint64 kMaxClassListBytes = 1024 * 1024;

int refuse(const QString& why)
{
    std::fputs(qPrintable(why + QLatin1Char('\n')), stderr);
    return EXIT_FAILURE;
}

// The correction of a sheet for the student --eleve names, or for each of
// the class list --eleves reads.
int printCorrection(const CommandLine& line, const QString& path)
{
    const t1::SheetFile sheet = t1::readSheet(path);
    if (!sheet.ok())
        return refuse(sheet.error);
    if (line.isSet("eleves")) {
        const QString listPath = line.value("eleves");
        const t1::RegularFile list = t1::RegularFile::read(listPath, kMaxClassListBytes);
        if (list.status != t1::RegularFile::Status::Read)
            return refuse(t1::fileSentence(listPath, QStringLiteral("ne peut pas être lu comme une liste d'élèves")));
        const QStringList students = t1::classList(list.data);
        if (students.isEmpty())
            return refuse(t1::fileSentence(listPath, QStringLiteral("ne contient aucun nom d'élève")));
        std::fputs(t1::classCorrectionCsv(*sheet.sheet, students).toUtf8().constData(), stdout);
        return EXIT_SUCCESS;
    }
    if (!line.isSet("eleve") || line.value("eleve").trimmed().isEmpty()) {
        std::fputs("--corrige demande l'élève, « --eleve \"Nom Prénom\" », ou une liste, « --eleves LISTE ».\n", stderr);
        return kUsageError;
    }
    std::fputs(t1::correctionText(*sheet.sheet, line.value("eleve")).toUtf8().constData(), stdout);
    return EXIT_SUCCESS;
}

// --eleve and --eleves say whose correction --corrige prints.
int needsSheet(const CommandLine&, const QString&)
{
    std::fputs("--eleve et --eleves vont avec « --corrige FEUILLE ».\n", stderr);
    return kUsageError;
}

// A file refused leaves the Laboratoire with its defaults; its message line
// says why, and so does the terminal, as do the keys a file lacks.
void openLaboratory(StartedProgram& program, const QString& path)
{
    t1::Laboratory& laboratory = program.laboratory();
    const t1::SetupReading read = laboratory.openSetup(path);
    if (!read.ok() || !read.defaulted.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(laboratory.message()));
}

// Each option is one row; a row not offered yet is refused as unknown.
const std::array kOptions{
    OptionRow{{"h", "help"}, nullptr, "Affiche cette aide et s'arrête.", true, printHelp, nullptr},
    OptionRow{{"v", "version"}, nullptr, "Affiche la version du programme et s'arrête.", true, printVersion, nullptr},
    OptionRow{{nullptr, "laboratoire"}, "FICHIER",
              "Ouvre le Laboratoire sur la configuration enregistrée dans FICHIER.", true, nullptr, openLaboratory},
    OptionRow{{nullptr, "corrige"}, "FEUILLE",
              "Écrit sur la sortie standard le corrigé de FEUILLE pour l'élève que nomme --eleve, et s'arrête.", true,
              printCorrection, nullptr},
    OptionRow{{nullptr, "eleve"}, "NOM", "L'élève (« Nom Prénom ») dont --corrige écrit le corrigé.", true, needsSheet,
              nullptr},
    OptionRow{{nullptr, "eleves"}, "LISTE",
              "Écrit sur la sortie standard le corrigé de --corrige pour chaque élève de LISTE (un par ligne), en CSV "
              "(« ; » entre les champs, virgule décimale), et s'arrête.", true, needsSheet, nullptr},
};

QStringList namesOf(const OptionRow& row)
{
    QStringList names;
    for (const char* name : row.names)
        if (name)
            names << QString::fromLatin1(name);
    return names;
}

QCommandLineOption optionOf(const OptionRow& row)
{
    QCommandLineOption option(namesOf(row), QString::fromUtf8(row.description));
    if (row.valueName)
        option.setValueName(QString::fromUtf8(row.valueName));
    return option;
}

// Qt's French quotes a name "so": the program's own texts say « so ».
QString unknownOptions(const QStringList& names, const QString& otherError)
{
    if (names.isEmpty())
        return otherError + QLatin1Char('\n');
    return (names.size() == 1 ? QStringLiteral("Option inconnue : « %1 ».\n") : QStringLiteral("Options inconnues : « %1 ».\n"))
        .arg(names.join(QStringLiteral(" », « ")));
}

QString tryHelp(const QString& program)
{
    return QStringLiteral("Voir « %1 --help ».\n").arg(program);
}

}  // namespace

CommandLine::CommandLine(const QStringList& arguments)
{
    m_parser.setApplicationDescription(QString::fromUtf8(kDescription));
    // The toolkit's options are single words after one dash (-platform).
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionRow& row : kOptions)
        if (row.offered)
            m_parser.addOption(optionOf(row));
    const QString program = arguments.value(0, QStringLiteral("temperature1"));
    if (!m_parser.parse(arguments))
        m_error = unknownOptions(m_parser.unknownOptionNames(), m_parser.errorText()) + tryHelp(program);
    else if (!m_parser.positionalArguments().isEmpty())
        m_error = QStringLiteral("Argument inattendu « %1 ».\n").arg(m_parser.positionalArguments().constFirst())
            + tryHelp(program);
    for (const OptionRow& row : kOptions)
        if (row.offered && row.answer && m_parser.isSet(QString::fromLatin1(row.names[1]))) {
            m_answered = &row;
            break;
        }
}

int CommandLine::answer() const
{
    if (!understood()) {
        std::fputs(qPrintable(m_error), stderr);
        return kUsageError;
    }
    if (!m_answered)
        return EXIT_SUCCESS;
    return m_answered->answer(*this, value(m_answered->names[1]));
}

void CommandLine::start(StartedProgram& program) const
{
    for (const OptionRow& row : kOptions)
        if (row.offered && row.onStart && isSet(row.names[1]))
            row.onStart(program, value(row.names[1]));
}

QString CommandLine::value(const char* longName) const
{
    return m_parser.value(QString::fromLatin1(longName));
}

bool CommandLine::isSet(const char* longName) const
{
    return m_parser.isSet(QString::fromLatin1(longName));
}

std::optional<int> answerOnTerminal(int argc, char** argv, bool displayNamed)
{
    // An application without a display: it names the program for the help
    // and gives Qt's French to the parser's own messages.
    QCoreApplication terminal(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("temperature1"));
    QTranslator toolkitFrench;
    if (Application::loadToolkitTranslation(toolkitFrench))
        QCoreApplication::installTranslator(&toolkitFrench);
    const CommandLine line(QCoreApplication::arguments());
    if (line.answersOnTerminal() || (!line.understood() && !displayNamed))
        return line.answer();
    return std::nullopt;
}
