#pragma once

#include "common/status.h"

#include <QFile>
#include <QString>

#include <string>
#include <string_view>

namespace core_texts {

/// The core's fixed texts are UTF-8. In a namespace so that a file showing many of them can
/// say `using core_texts::texto;`.
inline QString texto(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace core_texts

inline QString textoDoStatus(const tarvex::Status& status)
{
    return core_texts::texto(status.message);
}

/// A file name as the core opens it (the local 8-bit encoding of file names).
inline std::string caminhoLocal(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

/// A file name the core gives back, in that same encoding, for the interface.
inline QString caminhoQt(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}
