#include "documents/file_errors.h"

#include <QDir>

#include <array>
#include <cerrno>

namespace t1 {

namespace {

struct Reason {
    int number;
    const char* text;  // UTF-8, to follow "impossible de ... : "
};

constexpr std::array kReasons{
    Reason{ENOENT, "fichier ou dossier introuvable"},
    Reason{EACCES, "permission refusée"},
    Reason{EPERM, "opération non permise"},
    Reason{ENOSPC, "plus de place sur le disque"},
    Reason{EDQUOT, "quota de disque dépassé"},
    Reason{EFBIG, "fichier trop grand pour la limite de taille en vigueur"},
    Reason{EROFS, "le disque est en lecture seule"},
    Reason{EISDIR, "c'est un dossier"},
    Reason{ENOTDIR, "un élément du chemin n'est pas un dossier"},
    Reason{ELOOP, "trop de liens symboliques (boucle de liens)"},
    Reason{ENAMETOOLONG, "nom de fichier trop long"},
    Reason{EMFILE, "trop de fichiers ouverts par le programme"},
    Reason{ENFILE, "trop de fichiers ouverts sur le système"},
    Reason{EIO, "erreur d'entrée-sortie du disque"},
    Reason{EEXIST, "le fichier existe déjà"},
    Reason{EBUSY, "le fichier est occupé"},
    Reason{ETXTBSY, "le fichier est en cours d'utilisation"},
    Reason{EINVAL, "nom ou opération invalide"},
    Reason{ENXIO, "périphérique absent"},
    Reason{ENODEV, "périphérique absent"},
    Reason{EAGAIN, "ressource momentanément indisponible"},
    Reason{EXDEV, "le fichier ne peut pas changer de disque"},
    Reason{ENOMEM, "mémoire insuffisante"},
    Reason{EINTR, "opération interrompue"},
};

}  // namespace

QString fileErrorReason(int errorNumber)
{
    for (const Reason& r : kReasons)
        if (r.number == errorNumber)
            return QString::fromUtf8(r.text);
    return QStringLiteral("erreur système n° %1").arg(errorNumber);
}

QString fileSentence(const QString& path, const QString& reason)
{
    return QStringLiteral("Le fichier « %1 » %2.").arg(QDir::toNativeSeparators(path), reason);
}

}  // namespace t1
