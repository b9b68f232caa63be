#include "classroom/classroom.h"
#include "shell/application.h"
#include "shell/temperature1.h"

#include <exception>

int main(int argc, char** argv)
{
    Application app(argc, argv);
    try {
        TTemperature1 window;
        new Classroom(&window);  // the window owns it
        window.showMaximized();
        return app.exec();
    } catch (const std::exception& e) {
        // A failure while starting is shown, then the program ends quietly.
        Application::reportError(QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
