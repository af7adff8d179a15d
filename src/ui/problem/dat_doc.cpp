#include "problem/dat_doc.h"

#include "problem/dat_io.h"

#include <QFile>
#include <QFileInfo>

#include <string>

namespace {

QString statusText(const tarvex::Status& status)
{
    return QString::fromUtf8(status.message.data(), static_cast<qsizetype>(status.message.size()));
}

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

} // namespace

CDatDoc::CDatDoc(QObject* parent) : QObject(parent) { }

QString CDatDoc::title() const { return QFileInfo(m_path).fileName(); }

bool CDatDoc::open(const QString& path, QString& error)
{
    // openDat leaves its target alone on failure, so a bad file cannot spoil this document.
    const tarvex::Status status = tarvex::problem::openDat(localPath(path), m_data);
    if (!status) {
        error = statusText(status);
        return false;
    }
    m_path = path;
    m_modified = false;
    emit changed();
    return true;
}

bool CDatDoc::save(const QString& path, const std::array<double, 4>& janela, QString& error)
{
    const std::array<double, 4> anterior = m_data.janela;
    m_data.janela = janela;
    const tarvex::Status status = tarvex::problem::saveDat(localPath(path), m_data);
    if (!status) {
        m_data.janela = anterior;
        error = statusText(status);
        return false;
    }
    m_path = path;
    m_modified = false;
    return true;
}
