#pragma once

#include "common/front_list.h"
#include "geometry/drawing.h"
#include "problem/records.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

namespace tarvex::geometry {
class Alteracoes;
}

/// The drawing document: owns the drawing's data (core), its path and the document type it was
/// opened with ("des", "pre" or "dxf", which decides how it reads and how Save As behaves).
/// Views listen to changed() and repaint.
class CDesDoc : public QObject {
    Q_OBJECT
public:
    explicit CDesDoc(QString documentType = QStringLiteral("des"), QObject* parent = nullptr);

    tarvex::geometry::DrawingData& data() { return m_data; }
    const tarvex::geometry::DrawingData& data() const { return m_data; }

    QString documentType() const { return m_documentType; }
    QString path() const { return m_path; }
    /// Title shown in the frame: the file name, or "Sem nome" plus a number for a new drawing.
    QString title() const;
    void setUntitledNumber(int number) { m_untitledNumber = number; }

    /// Reads `path` by this document's type. On failure the document is unchanged and the
    /// returned text (the core's fixed message) says why.
    bool open(const QString& path, QString& error);
    /// What the last DXF import left out, one "  KIND : count" line per entity kind after a
    /// heading; empty when nothing was left out.
    QString avisoImportacao() const { return m_avisoImportacao; }
    /// Saves as .des under `path` (".pre"/".dxf" extension becomes ".des"); the saved path becomes
    /// the document's path. False, with the message, when the file cannot be written.
    bool save(const QString& path, QString& error);

    /// The modified flag: set by every drawing command (even one that keeps the three counts),
    /// cleared by a save or by undoing back to the saved state, and also set by the close-time
    /// test by counts.
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    /// Sets the modified flag when a list length differs from its saved count; returns the flag.
    bool checkModifiedByCounts();

    /// The regions traced by the last "&Exportar para *.dat" (kept after a failure as far as the
    /// tracing got); emptied by the next export. Never saved with the drawing.
    tarvex::common::FrontList<tarvex::problem::Regiao>& regioes() { return m_regioes; }
    const tarvex::common::FrontList<tarvex::problem::Regiao>& regioes() const { return m_regioes; }

    /// Set while the "Fechar" command runs, so the frame's own close test does not run twice.
    bool closing() const { return m_closing; }
    void setClosing(bool closing) { m_closing = closing; }

    /// The undo history of the drawing commands ("Desfazer", "Refazer").
    QUndoStack& pilhaDesfazer() { return m_pilha; }
    /// Makes a drawing command, already applied to data() by the core, one undo step; nothing
    /// when it changed nothing.
    void registrarEdicao(tarvex::geometry::Alteracoes alteracoes, const QString& nome);
    /// Called by the undo steps after they changed the lists.
    void aposDesfazer();

signals:
    /// The data changed, or all views must be redrawn ("Atualizar Todas").
    void changed();
    /// An undo or redo changed the lists: selections must let go of entities that are gone.
    void desfeito();

public slots:
    void updateAllViews() { emit changed(); }

private:
    tarvex::geometry::DrawingData m_data;
    tarvex::common::FrontList<tarvex::problem::Regiao> m_regioes;
    QString m_documentType;
    QString m_path;
    QString m_avisoImportacao;
    int m_untitledNumber = 1;
    bool m_modified = false;
    bool m_closing = false;
    QUndoStack m_pilha;
};
