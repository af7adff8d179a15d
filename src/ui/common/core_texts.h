#pragma once

#include "common/status.h"

#include <QFile>
#include <QString>

#include <string>

/// The core's fixed texts are UTF-8.
inline QString textoDoStatus(const tarvex::Status& status)
{
    return QString::fromUtf8(status.message.data(), static_cast<qsizetype>(status.message.size()));
}

/// A file name as the core opens it (the local 8-bit encoding of file names).
inline std::string caminhoLocal(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}
