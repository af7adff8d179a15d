#include "graphs/graph_doc.h"

#include "common/core_texts.h"
#include "graphs/grp_io.h"

#include <QFile>
#include <QFileInfo>

CGraphDoc::CGraphDoc(const tarvex::graphs::GraphData& data, QObject* parent)
    : QObject(parent)
    , m_data(data)
{
}

void CGraphDoc::setData(const tarvex::graphs::GraphData& data)
{
    m_data = data;
    emit changed();
}

QString CGraphDoc::title() const
{
    if (m_path.isEmpty())
        return QStringLiteral("grp%1").arg(m_untitledNumber);
    return QFileInfo(m_path).fileName();
}

bool CGraphDoc::open(const QString& path, QString& error)
{
    // openGrp leaves its target alone on failure. A graph that cannot be read is not opened as
    // an empty one: saving that empty graph would write over the file it came from.
    const tarvex::Status status = tarvex::graphs::openGrp(caminhoLocal(path), m_data);
    if (!status) {
        error = textoDoStatus(status);
        return false;
    }
    m_path = path;
    emit changed();
    return true;
}

bool CGraphDoc::save(const QString& path, QString& error)
{
    const tarvex::Status status = tarvex::graphs::saveGrp(caminhoLocal(path), m_data);
    if (!status) {
        error = textoDoStatus(status);
        return false;
    }
    m_path = path;
    return true;
}

bool CGraphDoc::exportAsc(const QString& path, QString& error) const
{
    const tarvex::Status status = tarvex::graphs::saveAsc(caminhoLocal(path), m_data);
    if (!status) {
        error = textoDoStatus(status);
        return false;
    }
    return true;
}
