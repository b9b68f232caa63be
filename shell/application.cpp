#include "shell/application.h"

#include "lessons/lesson_table.h"
#include "picture/fonts.h"

#include <QFontMetrics>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

constexpr auto kTitle = "Temperature1";
// Besides the menu's titles, what the readouts and captions print.
constexpr auto kReadoutCharacters = "0123456789,-°C";
constexpr auto kToolkitCatalogue = "qtbase";
constexpr auto kFontPackage = "fonts-liberation2";
// The variables that name a display, or another platform than a screen.
constexpr std::array kDisplayVariables{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
// The toolkit's option that does what QT_QPA_PLATFORM does, with either dash.
constexpr std::array kPlatformOptions{"-platform", "--platform"};

QtMessageHandler gToolkitMessages = nullptr;
QString gProgram;

QString displaysNamed()
{
    QStringList named;
    for (const char* variable : kDisplayVariables)
        if (!qEnvironmentVariableIsEmpty(variable))
            named << QStringLiteral("%1=%2").arg(QLatin1String(variable), qEnvironmentVariable(variable));
    return named.join(QLatin1Char(' '));
}

QString headlessHint(const QString& program)
{
    return QStringLiteral(
               "Pour le lancer sans écran, sous un écran virtuel (paquet xvfb) : xvfb-run -a %1\n"
               "To run it without a screen, on a virtual display (package xvfb): xvfb-run -a %1\n")
        .arg(program);
}

// While the toolkit starts: when it cannot open the display, the program
// ends with an explanation and a failure status rather than an abort.
void startUpMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    gToolkitMessages(type, context, message);
    if (type != QtFatalMsg)
        return;
    const QString why = QStringLiteral(
                            "Temperature1 n'a pas pu ouvrir de fenêtre sur l'écran graphique (%1). "
                            "Vérifiez que la session graphique est ouverte.\n"
                            "Temperature1 could not open a window on the display (%1). "
                            "Check that the graphical session is running.\n")
                            .arg(displaysNamed())
        + headlessHint(gProgram);
    std::fputs(qPrintable(why), stderr);
    std::_Exit(EXIT_FAILURE);
}

int& watchStartUp(int& argc, char** argv)
{
    gProgram = argc > 0 ? QString::fromLocal8Bit(argv[0]) : QString::fromLatin1(kTitle).toLower();
    gToolkitMessages = qInstallMessageHandler(startUpMessages);
    return argc;
}

QString lessonCharacters()
{
    QString characters = QString::fromUtf8(kReadoutCharacters);
    for (const t1::LessonRow& row : t1::kLessons)
        characters += QString::fromUtf8(row.title);
    return characters;
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(watchStartUp(argc, argv), argv)
{
    qInstallMessageHandler(gToolkitMessages);
    setApplicationName(QStringLiteral("temperature1"));
    setApplicationDisplayName(QString::fromLatin1(kTitle));
    if (loadToolkitTranslation(m_toolkitTranslation))
        installTranslator(&m_toolkitTranslation);
    // On the terminal: a message box would be drawn in empty boxes too.
    if (!undrawableCharacters().isEmpty())
        std::fputs(qPrintable(missingFontMessage()), stderr);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        reportError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportError(QStringLiteral("Erreur inconnue."));
    }
    return false;
}

void Application::reportError(const QString& what)
{
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kTitle), what);
    box.setTextFormat(Qt::PlainText);  // a file's name is shown as it is, never read as markup
    box.exec();
}

QString Application::missingDisplay(const QString& program, const QStringList& arguments)
{
    if (!displaysNamed().isEmpty())
        return {};
    for (const char* option : kPlatformOptions) {
        const qsizetype at = arguments.indexOf(QLatin1String(option));
        if (at >= 0 && at + 1 < arguments.size())
            return {};
    }
    return QStringLiteral(
               "Temperature1 a besoin d'un écran graphique : ni DISPLAY ni WAYLAND_DISPLAY n'est défini. "
               "Lancez-le depuis une session graphique.\n"
               "Temperature1 needs a display: neither DISPLAY nor WAYLAND_DISPLAY is set. "
               "Start it from a graphical session.\n")
        + headlessHint(program);
}

bool Application::loadToolkitTranslation(QTranslator& translation)
{
    return translation.load(QLocale(QLocale::French), QString::fromLatin1(kToolkitCatalogue), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

QString Application::undrawableCharacters()
{
    const QFontMetrics metrics(t1::fonts::make(t1::fonts::pt7));
    QString missing;
    for (const QChar c : lessonCharacters())
        if (!c.isSpace() && !metrics.inFont(c) && !missing.contains(c))
            missing += c;
    return missing;
}

QString Application::missingFontMessage()
{
    return QStringLiteral(
               "Temperature1 : aucune police installée ne sait dessiner les textes des leçons, qui "
               "s'afficheront comme des cases vides. Installez la police %1 (paquet %2).\n"
               "Temperature1: no installed font can draw the lessons' texts, which will show as empty "
               "boxes. Install the %1 font (package %2).\n")
        .arg(QLatin1String(t1::fonts::family), QLatin1String(kFontPackage));
}
