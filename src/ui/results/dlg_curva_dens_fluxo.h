#pragma once

#include "results/dlg_pontos.h"

/**
 * Dialog 166 "Teclado": the end points of a straight section or of a discharge path,
 * "Ponto Inicial (X1,Y1)" and "Ponto Final (X2,Y2)", opening with the last section. The commands
 * check equal points after it.
 */
class CDlgCurvaDensFluxo : public CDlgPontos {
    Q_OBJECT
public:
    CDlgCurvaDensFluxo(const tarvex::geometry::Ponto& inicio, const tarvex::geometry::Ponto& fim,
        Prompter& prompter, QWidget* parent = nullptr,
        Conferencia conferencia = Conferencia::AoCalcular);

    tarvex::geometry::Ponto inicio() const { return ponto(0); }
    tarvex::geometry::Ponto fim() const { return ponto(1); }
};
