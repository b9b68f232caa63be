#include "lab_window/setup_menu.h"

#include "documents/document_library.h"
#include "lab_window/setup_file.h"
#include "stage/keys.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>
#include <QUrl>

#include <algorithm>

namespace t1 {

namespace {

constexpr auto kRecentKey = "configurations_recentes";

// ~/.config/temperature1/laboratoire.conf: the program's own folder, whoever
// made the application object.
QSettings settings()
{
    return QSettings(QStringLiteral("temperature1"), QStringLiteral("laboratoire"));
}

// A key's hint in the menu; the window's own action runs it.
QString keyHint(KeyAction action)
{
    const auto row = std::find_if(kKeys.begin(), kKeys.end(), [action](const KeyRow& k) { return k.action == action; });
    const QList<QKeySequence> keys = row == kKeys.end() ? QList<QKeySequence>() : keySequences(*row);
    return keys.isEmpty() ? QString() : QLatin1Char('\t') + keys.constFirst().toString(QKeySequence::NativeText);
}

QString absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace

QStringList exampleSetupPaths()
{
    QStringList paths;
    const QStringList dirs = DocumentLibrary::defaultSearchDirs();
    for (const char* name : kExampleSetups) {
        const QString inFolder = QString::fromLatin1(kExamplesFolder) + QLatin1Char('/') + QString::fromLatin1(name);
        const auto dir = std::find_if(dirs.begin(), dirs.end(),
                                      [&inFolder](const QString& d) { return QFileInfo::exists(QDir(d).filePath(inFolder)); });
        paths.append(dir == dirs.end() ? QString() : QDir(*dir).filePath(inFolder));
    }
    return paths;
}

QStringList recentSetups()
{
    QStringList kept;
    for (const QString& path : settings().value(QString::fromLatin1(kRecentKey)).toStringList())
        if (QFileInfo(path).isFile() && !kept.contains(path) && kept.size() < kMaxRecentSetups)
            kept.append(path);
    return kept;
}

void addRecentSetup(const QString& path)
{
    QStringList recent = recentSetups();
    const QString added = absolute(path);
    recent.removeAll(added);
    recent.prepend(added);
    settings().setValue(QString::fromLatin1(kRecentKey), recent.mid(0, kMaxRecentSetups));
}

QString droppedSetup(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    const QString path = url.toLocalFile();
    const bool json = QFileInfo(path).suffix().compare(QStringLiteral("json"), Qt::CaseInsensitive) == 0;
    return url.isLocalFile() && json ? path : QString();
}

SetupMenu::SetupMenu(QWidget* parent, Handlers handlers) : QMenu(parent), m_handlers(std::move(handlers))
{
    setToolTipsVisible(true);
    connect(this, &QMenu::aboutToShow, this, &SetupMenu::rebuild);
    rebuild();
}

void SetupMenu::rebuild()
{
    clear();
    addAction(QStringLiteral("&Ouvrir une configuration…") + keyHint(KeyAction::OpenSetup), this,
              [this] { m_handlers.askOpen(); });
    addAction(QStringLiteral("&Enregistrer la configuration…") + keyHint(KeyAction::SaveSetup), this,
              [this] { m_handlers.save(); });
    const QStringList recent = recentSetups();
    if (!recent.isEmpty())
        addSection(QStringLiteral("Ouvertes ou enregistrées récemment"));
    for (const QString& path : recent)
        addFile(path, QFileInfo(path).fileName());
    addSection(QStringLiteral("Exemples"));
    const QStringList examples = exampleSetupPaths();
    for (std::size_t i = 0; i < kExampleSetups.size(); ++i)
        addFile(examples[static_cast<qsizetype>(i)], QString::fromLatin1(kExampleSetups[i]));
}

// Named by its title when it has one; an example not installed is shown disabled.
void SetupMenu::addFile(const QString& path, const QString& fallbackName)
{
    QString name = fallbackName;
    if (!path.isEmpty())
        if (const SetupReading read = readSetup(path); read.ok() && !read.setup->title.isEmpty())
            name = read.setup->title;
    // An ampersand of a title is shown, not taken for a mnemonic.
    QAction* action = addAction(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")), this,
                                [this, path] { m_handlers.open(path); });
    action->setToolTip(path.isEmpty() ? QStringLiteral("Introuvable dans les dossiers du programme")
                                      : QDir::toNativeSeparators(path));
    action->setEnabled(!path.isEmpty());
}

}  // namespace t1
