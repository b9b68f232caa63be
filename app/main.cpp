#include "classroom/classroom.h"
#include "shell/application.h"
#include "shell/temperature1.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv)
{
    // Before the toolkit starts: without a display it would abort in English.
    Application::ignoreFileSizeSignal();
    const QString missing = Application::missingDisplay(QString::fromLocal8Bit(argc > 0 ? argv[0] : "temperature1"));
    if (!missing.isEmpty()) {
        std::fputs(qPrintable(missing), stderr);
        return EXIT_FAILURE;
    }
    Application app(argc, argv);
    try {
        TTemperature1 window;
        new Classroom(&window);  // the window owns it
        window.showMaximized();
        return app.exec();
    } catch (const std::exception& e) {
        // A failure while starting is shown, then the program ends.
        Application::reportError(QString::fromLocal8Bit(e.what()));
    }
    return EXIT_FAILURE;
}
