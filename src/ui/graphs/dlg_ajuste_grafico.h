#pragma once

#include "graphs/graph_data.h"

#include <QDialog>

#include <functional>

QT_BEGIN_NAMESPACE
class QLineEdit;
class QPushButton;
class QSpinBox;
QT_END_NAMESPACE

class Prompter;

/**
 * The axis dialog: the four limits and the two division counts of the graph. "Ajuste
 * Automático" runs the automatic scaling (which stores it in the document) and reloads the
 * fields. OK checks that the limits are numbers before closing, so a typing slip never reaches
 * the plot.
 */
class CDlgAjusteGrafico : public QDialog {
    Q_OBJECT
public:
    using Automatico = std::function<tarvex::graphs::GraphAxes()>;

    CDlgAjusteGrafico(Prompter& prompter, const tarvex::graphs::GraphAxes& eixos,
        Automatico automatico, QWidget* parent = nullptr);

    /// The document's axes with the values accepted by the last successful OK.
    tarvex::graphs::GraphAxes eixos() const { return m_eixos; }
    /// Reads the fields into eixos(); false, with a warning, when a limit is not a number.
    bool validar();

    QLineEdit* campoXMin() const { return m_xMin; }
    QLineEdit* campoXMax() const { return m_xMax; }
    QLineEdit* campoYMin() const { return m_yMin; }
    QLineEdit* campoYMax() const { return m_yMax; }
    QSpinBox* campoDivisoesX() const { return m_divX; }
    QSpinBox* campoDivisoesY() const { return m_divY; }
    QPushButton* botaoAutomatico() const { return m_automaticoBotao; }

public slots:
    /// "Ajuste  Automático".
    void ajusteAutomatico();
    void accept() override;

private:
    void carregar(const tarvex::graphs::GraphAxes& eixos);

    Prompter& m_prompter;
    tarvex::graphs::GraphAxes m_eixos;
    Automatico m_automatico;
    QLineEdit* m_xMin;
    QLineEdit* m_xMax;
    QLineEdit* m_yMin;
    QLineEdit* m_yMax;
    QSpinBox* m_divX;
    QSpinBox* m_divY;
    QPushButton* m_automaticoBotao;
};
