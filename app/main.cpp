#include "classroom/classroom.h"
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
    // Before the toolkit starts: without a display it would abort in English.
    ignoreFileSizeSignal();
    const QString missing = Application::missingDisplay(QString::fromLocal8Bit(argc > 0 ? argv[0] : "temperature1"));
    if (!missing.isEmpty()) {
        std::fputs(qPrintable(missing), stderr);
        return EXIT_FAILURE;
    }
    Application app(argc, argv);
    try {
        TTemperature1 window;
        auto* classroom = new Classroom(&window);  // the window owns it
        // One laboratory, made when first asked for; the window owns it too.
        QPointer<t1::Laboratory> laboratory;
        QObject::connect(classroom, &Classroom::laboratoryRequested, &window, [&window, &laboratory] {
            if (!laboratory)
                laboratory = new t1::Laboratory(&window);
            laboratory->showRaised();
        });
        window.showMaximized();
        return app.exec();
    } catch (const std::exception& e) {
        // A failure while starting is shown, then the program ends.
        Application::reportError(QString::fromLocal8Bit(e.what()));
    }
    return EXIT_FAILURE;
}
