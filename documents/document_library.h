#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

class QTextDocument;

namespace t1 {

// Finds the commentary documents and keeps each one parsed while its file
// holds the same bytes, so that showing a document again costs a read of
// the file, not a new parse.
class DocumentLibrary {
public:
    // Larger files are refused rather than read.
    static constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;

    struct Loaded {
        std::shared_ptr<const QTextDocument> document;  // null on failure
        QString error;   // a French sentence naming the file and the reason
        QString notice;  // with a document: what of it could not be read, or empty
        QString path;    // where the file was found
    };

    // Looks in the given directories, in order.
    explicit DocumentLibrary(QStringList searchDirs);

    // The current working directory first, then the installed data
    // directories (temperature1 in each standard data location, and the one
    // the program was built for), then the data directory beside the
    // executable (../share/temperature1), which also serves a build tree.
    static QStringList defaultSearchDirs();

    Loaded load(const QString& fileName);

    const QStringList& searchDirs() const { return m_dirs; }

    // Runs once a file is found, before it is opened: a test puts something
    // else in its place there, as another program could.
    void setBeforeOpen(std::function<void(const QString& path)> hook) { m_beforeOpen = std::move(hook); }

private:
    struct Cached {
        std::size_t digest = 0;
        qsizetype size = 0;
        std::shared_ptr<const QTextDocument> document;
        QString notice;
    };

    QString locate(const QString& fileName) const;

    QStringList m_dirs;
    std::map<QString, Cached> m_cache;
    std::function<void(const QString&)> m_beforeOpen;
};

}  // namespace t1
