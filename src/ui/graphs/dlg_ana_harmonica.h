#pragma once

#include "graphs/harmonics.h"

#include <QDialog>

#include <array>

QT_BEGIN_NAMESPACE
class QPlainTextEdit;
QT_END_NAMESPACE

namespace tarvex::graphs {
struct GraphData;
}

/// "Análise Harmônica": the six read-only tables of the core's harmonic analysis of the graph,
/// sine terms of curves 1 to 3 above and cosine terms below. Nothing is stored in the document.
class CDlgAnaHarmonica : public QDialog {
    Q_OBJECT
public:
    CDlgAnaHarmonica(const tarvex::graphs::GraphData& data, tarvex::graphs::HarmonicMode modo,
        QWidget* parent = nullptr);

    /// The field of table `indice`: 0 to 2 sine of curves 1 to 3, 3 to 5 cosine.
    QPlainTextEdit* campo(int indice) const
    {
        return m_campos.at(static_cast<std::size_t>(indice));
    }

private:
    std::array<QPlainTextEdit*, 2 * tarvex::graphs::HarmonicCurves> m_campos {};
};
