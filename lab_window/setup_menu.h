#pragma once

#include <QMenu>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class QMimeData;

namespace t1 {

// The setups shipped with the program, in the menu's order: file names in
// the examples' folder of the data directories.
inline constexpr auto kExamplesFolder = "exemples";
inline constexpr std::array kExampleSetups{"p-retard.json", "pid-bruit.json", "identification.json"};

// Where each example is: the first data directory that holds it (those of
// the commentary documents), or empty when none does.
QStringList exampleSetupPaths();

// The setups opened or saved last, most recent first, kept in the user's
// settings from one session to the next; files gone since are dropped.
inline constexpr int kMaxRecentSetups = 5;
QStringList recentSetups();
void addRecentSetup(const QString& path);

// The local setup file a drop carries: one file whose name ends in .json;
// empty for anything else.
QString droppedSetup(const QMimeData* data);

// The menu of the Laboratoire's setups: open and save, the recent files
// and the examples, built anew each time it opens so that it shows the
// files as they are.
class SetupMenu : public QMenu {
public:
    struct Handlers {
        std::function<void()> askOpen;
        std::function<void()> save;
        std::function<void(const QString& path)> open;
    };
    SetupMenu(QWidget* parent, Handlers handlers);

    void rebuild();

private:
    void addFile(const QString& path, const QString& fallbackName);

    Handlers m_handlers;
};

}  // namespace t1
