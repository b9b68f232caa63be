#include "classroom/classroom.h"
#include "laboratory/laboratory.h"
#include "shell/application.h"
#include "shell/temperature1.h"

#include <QPointer>

#include <exception>

int main(int argc, char** argv)
{
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
        // A failure while starting is shown, then the program ends quietly.
        Application::reportError(QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
