#pragma once

#include "results/auxiliary_lines.h"
#include "results/creepage_path.h"
#include "results/critical_path.h"
#include "solver/solver_model.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

/**
 * The results document: owns the solver model (core) with its results, its path and the modified
 * flag. A finished calculation marks it modified, so closing it asks before the results are lost.
 * Views listen to changed() and repaint.
 */
class CMeshDoc : public QObject {
    Q_OBJECT
public:
    explicit CMeshDoc(QObject* parent = nullptr);

    tarvex::solver::SolverModel& model() { return m_model; }
    const tarvex::solver::SolverModel& model() const { return m_model; }

    QString path() const { return m_path; }
    /// Title shown in the frame: the file name.
    QString title() const;

    /// Reads the .msh file `path`, either version. On failure the document is unchanged and
    /// `error` holds the core's fixed message.
    bool open(const QString& path, QString& error);
    /// Writes the model with its results to `path` (always the newer version). On success the
    /// path becomes the document's and the document is no longer modified; on failure nothing
    /// changes and `error` says why.
    bool save(const QString& path, QString& error);

    /// The auxiliary lines taken out of the picture since the document was opened (the model's
    /// contours themselves stay whole).
    tarvex::results::LinhasAuxiliares& linhasOcultas() { return m_linhasOcultas; }
    const tarvex::results::LinhasAuxiliares& linhasOcultas() const { return m_linhasOcultas; }

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // The path analyses: what the last computation of each left (none after a failed one), the
    // creepage path's indicated points, and the user's allowable-field curves (none: the
    // built-in formulas). They live as long as the open document; the file does not hold them.
    std::optional<tarvex::results::CriticalPathResult> caminhoCritico;
    std::optional<tarvex::results::CreepagePathResult> caminhoEscoamento;
    std::vector<tarvex::geometry::Ponto> creepagePoints;
    std::optional<tarvex::results::AllowableFieldCurve> curvaOleo;
    std::optional<tarvex::results::AllowableFieldCurve> curvaEscoamento;
    QString arquivoCurvaOleo;
    QString arquivoCurvaEscoamento;

signals:
    /// The model changed, or all views must be redrawn.
    void changed();

public slots:
    void updateAllViews() { emit changed(); }

private:
    tarvex::solver::SolverModel m_model;
    QString m_path;
    bool m_modified = false;
    tarvex::results::LinhasAuxiliares m_linhasOcultas;
};
