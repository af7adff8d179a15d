#include "results/mesh_doc.h"

#include "common/core_texts.h"
#include "solver/msh_io.h"

#include <QFile>
#include <QFileInfo>

#include <string>

CMeshDoc::CMeshDoc(QObject* parent)
    : QObject(parent)
{
}

QString CMeshDoc::title() const
{
    return QFileInfo(m_path).fileName();
}

bool CMeshDoc::open(const QString& path, QString& error)
{
    // openMsh replaces its target only on success, so a bad file cannot spoil this document.
    const tarvex::Status status = tarvex::solver::openMsh(caminhoLocal(path), m_model);
    if (!status) {
        error = textoDoStatus(status);
        return false;
    }
    m_path = path;
    m_modified = false;
    m_linhasOcultas.clear();
    emit changed();
    return true;
}

bool CMeshDoc::save(const QString& path, QString& error)
{
    const tarvex::Status status = tarvex::solver::saveMsh(caminhoLocal(path), m_model);
    if (!status) {
        error = textoDoStatus(status);
        return false;
    }
    m_path = path;
    m_modified = false;
    return true;
}
