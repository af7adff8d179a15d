#pragma once

#include "graphs/graph_data.h"

#include <QObject>
#include <QString>

/**
 * The graph document: owns the graph (core GraphData), its axis settings, its path and its
 * number while it has no name. A new graph copies the application's pending graph; views listen
 * to changed() and repaint.
 */
class CGraphDoc : public QObject {
    Q_OBJECT
public:
    explicit CGraphDoc(const tarvex::graphs::GraphData& data = {}, QObject* parent = nullptr);

    const tarvex::graphs::GraphData& data() const { return m_data; }
    /// Replaces the curves, title and captions (a materials plot shown again) and repaints.
    void setData(const tarvex::graphs::GraphData& data);

    /// Axis limits, steps, divisions and exponents, as the last scaling or the axis dialog left
    /// them.
    const tarvex::graphs::GraphAxes& axes() const { return m_axes; }
    void setAxes(const tarvex::graphs::GraphAxes& axes) { m_axes = axes; }

    QString path() const { return m_path; }
    /// The file name, or "grp" and a number for a graph that has not been saved.
    QString title() const;
    void setUntitledNumber(int number) { m_untitledNumber = number; }

    /// Reads the .grp file `path`. On failure (a version mismatch included) the document is
    /// unchanged and `error` holds the core's fixed message.
    bool open(const QString& path, QString& error);
    /// Writes the graph as .grp; the path becomes the document's. False, with the message, when
    /// the file cannot be written.
    bool save(const QString& path, QString& error);
    /// Writes the .asc text of the graph to `path` (the document's path does not change).
    bool exportAsc(const QString& path, QString& error) const;

signals:
    void changed();

private:
    tarvex::graphs::GraphData m_data;
    tarvex::graphs::GraphAxes m_axes;
    QString m_path;
    int m_untitledNumber = 1;
};
