#pragma once

#include "problem/problem_data.h"

#include <QObject>
#include <QString>

#include <array>

/// The problem-data document: owns the problem (core), its path and the modified flag. Views
/// listen to changed() and repaint.
class CDatDoc : public QObject {
    Q_OBJECT
public:
    explicit CDatDoc(QObject* parent = nullptr);

    tarvex::problem::ProblemData& data() { return m_data; }
    const tarvex::problem::ProblemData& data() const { return m_data; }

    QString path() const { return m_path; }
    /// Title shown in the frame: the file name.
    QString title() const;

    /// Reads the .dat file `path`. On failure the document is unchanged and `error` holds the
    /// core's fixed message.
    bool open(const QString& path, QString& error);
    /// Writes the problem to `path` with `janela` (x-min, x-max, y-min, y-max: what the view
    /// shows) as its window. On success the window stays in the document and the saved path
    /// becomes the document's path; on failure nothing changes and `error` says why.
    bool save(const QString& path, const std::array<double, 4>& janela, QString& error);

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

signals:
    /// The data changed, or all views must be redrawn ("Atualizar Todas").
    void changed();

public slots:
    void updateAllViews() { emit changed(); }

private:
    tarvex::problem::ProblemData m_data;
    QString m_path;
    bool m_modified = false;
};
