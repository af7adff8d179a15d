#include "drawing/des_doc.h"

#include "common/messages.h"
#include "geometry/drawing_io.h"

#include <QFile>
#include <QFileInfo>

#include <string>

namespace {

QString statusText(const tarvex::Status& status)
{
    QString text = QString::fromUtf8(status.message.data(),
                                     static_cast<qsizetype>(status.message.size()));
    if (status.line > 0)
        text += QStringLiteral("\nlinha %1").arg(status.line);
    return text;
}

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

CDesDoc::CDesDoc(QString documentType, QObject* parent)
    : QObject(parent), m_documentType(std::move(documentType))
{
}

QString CDesDoc::title() const
{
    if (m_path.isEmpty())
        return QStringLiteral("Sem nome %1").arg(m_untitledNumber);
    return QFileInfo(m_path).fileName();
}

bool CDesDoc::open(const QString& path, QString& error)
{
    // Read into a fresh drawing so a bad file leaves this document as it was.
    tarvex::geometry::DrawingData read;
    tarvex::geometry::DxfIgnorados ignorados;
    const tarvex::Status status = tarvex::geometry::openDrawing(
        localPath(path), m_documentType.toStdString(), read, &ignorados);
    if (!status) {
        error = statusText(status);
        return false;
    }
    m_avisoImportacao.clear();
    if (!ignorados.empty()) {
        const std::string_view cabecalho = tarvex::msg::DxfEntidadesIgnoradas;
        m_avisoImportacao =
            QString::fromUtf8(cabecalho.data(), static_cast<qsizetype>(cabecalho.size()));
        for (const auto& [tipo, quantos] : ignorados)
            m_avisoImportacao +=
                QStringLiteral("\n  %1 : %2").arg(QString::fromStdString(tipo)).arg(quantos);
    }
    m_data = std::move(read);
    m_path = path;
    m_modified = false;
    emit changed();
    return true;
}

bool CDesDoc::save(const QString& path, QString& error)
{
    const std::string target = tarvex::geometry::caminhoGravacao(localPath(path));
    const tarvex::Status status = tarvex::geometry::saveDrawing(target, m_data);
    if (!status) {
        error = statusText(status);
        return false;
    }
    m_path = QFile::decodeName(QByteArray::fromStdString(target));
    m_modified = false;
    return true;
}

bool CDesDoc::checkModifiedByCounts()
{
    if (m_data.contagensAlteradas())
        m_modified = true;
    return m_modified;
}
