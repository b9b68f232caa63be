#pragma once

#include <QApplication>

// The application object. An exception that escapes an event handler is
// shown in a message box and the event loop goes on.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    static void reportError(const QString& what);
};
