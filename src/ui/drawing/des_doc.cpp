#include "drawing/des_doc.h"

#include "common/core_texts.h"
#include "common/messages.h"
#include "geometry/drawing_edit.h"
#include "geometry/drawing_io.h"

#include <QFileInfo>
#include <QUndoCommand>

#include <string>

namespace {

QString statusText(const tarvex::Status& status)
{
    QString text = textoDoStatus(status);
    if (status.line > 0)
        text += QStringLiteral("\nlinha %1").arg(status.line);
    return text;
}

/// One drawing command in the undo history: the changes the core recorded while applying it.
class ComandoDesenho : public QUndoCommand {
public:
    ComandoDesenho(CDesDoc& doc, tarvex::geometry::Alteracoes alteracoes, const QString& nome)
        : QUndoCommand(nome)
        , m_doc(doc)
        , m_alteracoes(std::move(alteracoes))
    {
    }
    void redo() override
    {
        // The command was applied when it was made; only a later redo replays it.
        if (m_aplicado) {
            m_aplicado = false;
            return;
        }
        m_alteracoes.refazer(m_doc.data());
        m_doc.aposDesfazer();
    }
    void undo() override
    {
        m_alteracoes.desfazer(m_doc.data());
        m_doc.aposDesfazer();
    }

private:
    CDesDoc& m_doc;
    tarvex::geometry::Alteracoes m_alteracoes;
    bool m_aplicado = true;
};

} // namespace

CDesDoc::CDesDoc(QString documentType, QObject* parent)
    : QObject(parent)
    , m_documentType(std::move(documentType))
{
    // Undoing back to the saved state leaves the document unmodified; anything else marks it.
    connect(&m_pilha, &QUndoStack::cleanChanged, this, [this](bool limpo) { m_modified = !limpo; });
}

void CDesDoc::registrarEdicao(tarvex::geometry::Alteracoes alteracoes, const QString& nome)
{
    if (alteracoes.vazia())
        return;
    m_pilha.push(new ComandoDesenho(*this, std::move(alteracoes), nome));
    m_modified = true;
    emit changed();
}

void CDesDoc::aposDesfazer()
{
    emit desfeito();
    emit changed();
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
        caminhoLocal(path), m_documentType.toStdString(), read, &ignorados);
    if (!status) {
        error = statusText(status);
        return false;
    }
    m_avisoImportacao.clear();
    if (!ignorados.empty()) {
        m_avisoImportacao = core_texts::texto(tarvex::msg::DxfEntidadesIgnoradas);
        for (const auto& [tipo, quantos] : ignorados)
            m_avisoImportacao
                += QStringLiteral("\n  %1 : %2").arg(QString::fromStdString(tipo)).arg(quantos);
    }
    m_data = std::move(read);
    m_path = path;
    m_pilha.clear();
    m_modified = false;
    emit changed();
    return true;
}

bool CDesDoc::save(const QString& path, QString& error)
{
    const std::string target = tarvex::geometry::caminhoGravacao(caminhoLocal(path));
    const tarvex::Status status = tarvex::geometry::saveDrawing(target, m_data);
    if (!status) {
        error = statusText(status);
        return false;
    }
    m_path = caminhoQt(target);
    m_pilha.setClean();
    m_modified = false;
    return true;
}

bool CDesDoc::checkModifiedByCounts()
{
    if (m_data.contagensAlteradas())
        m_modified = true;
    return m_modified;
}
