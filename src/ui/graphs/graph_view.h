#pragma once

#include "common/base_view.h"
#include "graphs/graph_data.h"

#include <QString>

#include <cstddef>

class CGraphDoc;
class Prompter;

/**
 * The graph view: plots the document's curves with automatic axes (recomputed for the client
 * area on every repaint) until the axis dialog fixes them, shows the cursor position in curve
 * units, switches curves on and off and opens the harmonic analysis. The plot has its own x and
 * y scales, so it is placed by the core's plot layout rather than by the base view's window.
 */
class CGraphView : public CBaseView {
    Q_OBJECT
public:
    CGraphView(CGraphDoc& doc, Prompter& prompter, QWidget* parent = nullptr);

    CGraphDoc& documento() { return m_doc; }

    bool autoAxes() const { return m_autoAxes; }
    const tarvex::graphs::CurveActivation& ativas() const { return m_ativas; }
    /// Curves of the document when the view was made.
    std::size_t curveCount() const { return m_curveCount; }

    /// Runs the automatic scaling for the client area and stores it in the document.
    tarvex::graphs::GraphAxes ajusteAutomatico();
    /// OK of the axis dialog: the axes stay as given from now on.
    void aplicarEixos(const tarvex::graphs::GraphAxes& eixos);
    /// OK of the activation dialog.
    void aplicarAtivas(const tarvex::graphs::CurveActivation& ativas);
    /// The position pane's text for a pixel of the client area.
    QString textoPosicao(double px, double py) const;

public slots:
    /// "Ajustar &Eixos".
    void ajustarEixos();
    /// "&Ativar/Desativar".
    void ativarDesativar();
    /// "Análise &Harmônica": `modo` 0 to 5.
    void analiseHarmonica(int modo);

signals:
    void posicaoAlterada(const QString& texto);

protected:
    void desenhar(tarvex::paint::Canvas& canvas) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    CGraphDoc& m_doc;
    Prompter& m_prompter;
    bool m_autoAxes = true;
    tarvex::graphs::CurveActivation m_ativas;
    std::size_t m_curveCount = 0;
};
