#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class TTemperature1;
namespace t1 {
class Laboratory;
}

// What an option that acts on the started program is given.
struct StartedProgram {
    TTemperature1& window;
    std::function<t1::Laboratory&()> laboratory;  // made and shown when first asked for
};

class CommandLine;

// One option of the command line. An option is answered on the terminal,
// before any display is opened, or acts on the program once its window is
// shown; one read by another option's handler has neither handler.
struct OptionRow {
    std::array<const char*, 2> names;  // the short name (or nullptr) and the long one
    const char* valueName;             // nullptr for a switch
    const char* description;           // French, as --help prints it
    bool offered;                      // false while the option is not built: it is refused
    int (*answer)(const CommandLine& line, const QString& value);  // prints, returns the exit status
    void (*onStart)(StartedProgram& program, const QString& value);
};

// The command line read against the table of options (command_line.cpp).
class CommandLine {
public:
    explicit CommandLine(const QStringList& arguments);

    // No unknown option, missing value or argument of no option.
    bool understood() const { return m_error.isEmpty(); }
    // An option answered on the terminal was given: no display is needed.
    bool answersOnTerminal() const { return m_answered != nullptr; }

    // The first option answered on the terminal, in the table's order, or
    // the error on the standard error; the program's exit status.
    int answer() const;
    // Every option that acts on the started program, in the table's order.
    void start(StartedProgram& program) const;

    QString value(const char* longName) const;
    bool isSet(const char* longName) const;
    QString helpText() const { return m_parser.helpText(); }

private:
    QCommandLineParser m_parser;
    QString m_error;
    const OptionRow* m_answered = nullptr;
};

// Answers the command line on the terminal when it asks for nothing that
// needs a display, or when it cannot be understood and no display would take
// the toolkit's own options out of it (-platform, -display...); the exit
// status then, none when the program is to start.
std::optional<int> answerOnTerminal(int argc, char** argv, bool displayNamed);
