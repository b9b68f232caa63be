#pragma once

#include <QString>

namespace t1 {

// Why a file could not be read or written, in French, for a system error
// number (errno): the system's own texts are English, and a French sentence
// with an English reason in it reads badly. Unknown numbers give their number.
QString fileErrorReason(int errorNumber);

// The one sentence a refused file gets: "Le fichier « chemin » <reason>."
QString fileSentence(const QString& path, const QString& reason);

}  // namespace t1
