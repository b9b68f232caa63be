#include "app/application.h"
#include "app/temperature1.h"

#include <exception>

int main(int argc, char** argv)
{
    Application app(argc, argv);
    try {
        TTemperature1 window;
        Temperature1 = &window;
        window.showMaximized();
        return app.exec();
    } catch (const std::exception& e) {
        // A failure while starting is shown, then the program ends quietly.
        Application::reportError(QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
