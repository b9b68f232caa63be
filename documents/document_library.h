#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

class QTextDocument;

namespace t1 {

// Finds the commentary documents and keeps each one parsed while its file
// is unchanged, so that showing a document again costs a look at the file's
// date and size, not a new parse.
class DocumentLibrary {
public:
    // Larger files are refused rather than read.
    static constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;

    struct Loaded {
        std::shared_ptr<const QTextDocument> document;  // null on failure
        QString error;  // a French sentence naming the file and the reason
        QString path;   // where the file was found
    };

    // Looks in the given directories, in order.
    explicit DocumentLibrary(QStringList searchDirs);

    // The current working directory first, then the installed data
    // directory, then the data directory beside the executable
    // (../share/temperature1), which also serves a build tree.
    static QStringList defaultSearchDirs();

    Loaded load(const QString& fileName);

    const QStringList& searchDirs() const { return m_dirs; }

private:
    struct Cached {
        QDateTime modified;
        qint64 size = 0;
        std::shared_ptr<const QTextDocument> document;
    };

    QString locate(const QString& fileName) const;

    QStringList m_dirs;
    std::map<QString, Cached> m_cache;
};

}  // namespace t1
