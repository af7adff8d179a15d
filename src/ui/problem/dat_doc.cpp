#include "problem/dat_doc.h"

#include "common/core_texts.h"
#include "problem/dat_io.h"

#include <QFile>
#include <QFileInfo>

#include <string>

CDatDoc::CDatDoc(QObject* parent)
    : QObject(parent)
{
}

QString CDatDoc::title() const
{
    return QFileInfo(m_path).fileName();
}

bool CDatDoc::open(const QString& path, QString& error)
{
    // openDat leaves its target alone on failure, so a bad file cannot spoil this document.
    const tarvex::Status status = tarvex::problem::openDat(caminhoLocal(path), m_data);
    if (!status) {
        error = textoDoStatus(status);
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
    const tarvex::Status status = tarvex::problem::saveDat(caminhoLocal(path), m_data);
    if (!status) {
        m_data.janela = anterior;
        error = textoDoStatus(status);
        return false;
    }
    m_path = path;
    m_modified = false;
    return true;
}
