#pragma once

#include "results/dlg_pontos.h"

/// Dialog 173 "Arco P1 P2 Pc": the end points and the centre of a polar section.
class CDlgPontosCentro : public CDlgPontos {
    Q_OBJECT
public:
    CDlgPontosCentro(const tarvex::geometry::Ponto& p1, const tarvex::geometry::Ponto& p2,
        const tarvex::geometry::Ponto& centro, Prompter& prompter, QWidget* parent = nullptr);

    tarvex::geometry::Ponto inicio() const { return ponto(0); }
    tarvex::geometry::Ponto fim() const { return ponto(1); }
    tarvex::geometry::Ponto centro() const { return ponto(2); }
};

/// Dialog 172 "Centro (Xc, Yc)": the centre of a polar section after its two clicks.
class CDlgPontoCentro : public CDlgPontos {
    Q_OBJECT
public:
    CDlgPontoCentro(
        const tarvex::geometry::Ponto& centro, Prompter& prompter, QWidget* parent = nullptr);

    tarvex::geometry::Ponto centro() const { return ponto(0); }
};
