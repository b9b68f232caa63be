#include "shell/application.h"

#include <QMessageBox>

#include <exception>

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("temperature1"));
    setApplicationDisplayName(QStringLiteral("Temperature1"));
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
    QMessageBox::critical(nullptr, QStringLiteral("Temperature1"), what);
}
