#pragma once

#include <QApplication>
#include <QTranslator>

// The application object. An exception that escapes an event handler is
// shown in a message box and the event loop goes on. Qt's own dialogs and
// buttons speak French; a display that cannot be opened and a font that
// cannot draw the lessons' texts are explained in words, in French and in
// English, rather than by the toolkit's abort or by empty boxes.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    static void reportError(const QString& what);

    // Why no window can be shown and how to run the program all the same,
    // or empty when a display is named, by the environment or by the
    // toolkit's -platform option among the arguments.
    static QString missingDisplay(const QString& program, const QStringList& arguments = {});

    // Qt's translation of its own texts into French; false when it is not
    // installed (the dialogs then speak English).
    static bool loadToolkitTranslation(QTranslator& translation);
    // The characters of the lessons' texts that the text font has no glyph
    // for, each once; empty when every text shows.
    static QString undrawableCharacters();
    static QString missingFontMessage();

private:
    QTranslator m_toolkitTranslation;
};
