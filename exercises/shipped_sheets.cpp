#include "exercises/shipped_sheets.h"

#include "documents/document_library.h"

#include <QDir>
#include <QFileInfo>

namespace t1 {

QString shippedSheetPath(const char* fileName)
{
    for (const QString& dir : DocumentLibrary::defaultSearchDirs()) {
        const QString path = QDir(dir).filePath(QString::fromUtf8(fileName));
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

}  // namespace t1
