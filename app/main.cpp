#include "app/command_line.h"
#include "classroom/classroom.h"
#include "exercises/sheet_chooser.h"
#include "lab_window/laboratory.h"
#include "shell/application.h"
#include "shell/temperature1.h"
#include "stage/file_writes.h"

#include <QPointer>

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv)
{
    ignoreFileSizeSignal();
    // Before the toolkit starts: what the command line asks of the terminal
    // needs no display, and without one the toolkit would abort in English.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString missing = Application::missingDisplay(arguments.value(0, QStringLiteral("temperature1")), arguments);
    if (const std::optional<int> answered = answerOnTerminal(argc, argv, missing.isEmpty()))
        return *answered;
    if (!missing.isEmpty()) {
        std::fputs(qPrintable(missing), stderr);
        return EXIT_FAILURE;
    }
    Application app(argc, argv);
    // Read again without the toolkit's own options, which it has taken.
    const CommandLine line(QCoreApplication::arguments());
    if (!line.understood())
        return line.answer();
    try {
        TTemperature1 window;
        auto* classroom = new Classroom(&window);  // the window owns it
        // One laboratory, made when first asked for; the window owns it too.
        QPointer<t1::Laboratory> laboratory;
        StartedProgram program{window, [&window, &laboratory]() -> t1::Laboratory& {
                                   if (!laboratory)
                                       laboratory = new t1::Laboratory(&window);
                                   laboratory->showRaised();
                                   return *laboratory;
                               }};
        QObject::connect(classroom, &Classroom::laboratoryRequested, &window, [&program] { program.laboratory(); });
        QObject::connect(classroom, &Classroom::exercisesRequested, &window, [&window] { t1::SheetChooser::start(&window); });
        window.showMaximized();
        line.start(program);
        return app.exec();
    } catch (const std::exception& e) {
        // A failure while starting is shown, then the program ends.
        Application::reportError(QString::fromLocal8Bit(e.what()));
    }
    return EXIT_FAILURE;
}
