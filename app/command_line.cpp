#include "app/command_line.h"

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
              "Écrit sur la sortie standard le corrigé de FEUILLE pour l'élève que nomme --eleve, et s'arrête.", false,
              nullptr, nullptr},
    OptionRow{{nullptr, "eleve"}, "NOM", "L'élève (« Nom Prénom ») dont --corrige écrit le corrigé.", false, nullptr,
              nullptr},
    OptionRow{{nullptr, "eleves"}, "LISTE",
              "Écrit sur la sortie standard le corrigé de --corrige pour chaque élève de LISTE, et s'arrête.", false,
              nullptr, nullptr},
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
