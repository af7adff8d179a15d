#include "results/dlg_pontos_centro.h"

CDlgPontosCentro::CDlgPontosCentro(const tarvex::geometry::Ponto& p1,
    const tarvex::geometry::Ponto& p2, const tarvex::geometry::Ponto& centro, Prompter& prompter,
    QWidget* parent)
    : CDlgPontos(QStringLiteral("Arco P1 P2 Pc"),
        { { QStringLiteral("P1"), QStringLiteral("X1 :"), QStringLiteral("Y1 :"), p1 },
            { QStringLiteral("P2"), QStringLiteral("X2 :"), QStringLiteral("Y2 :"), p2 },
            { QStringLiteral("Pc"), QStringLiteral("Xc :"), QStringLiteral("Yc :"), centro } },
        prompter, parent)
{
}

CDlgPontoCentro::CDlgPontoCentro(
    const tarvex::geometry::Ponto& centro, Prompter& prompter, QWidget* parent)
    : CDlgPontos(QStringLiteral("Centro (Xc, Yc)"),
        { { QStringLiteral("Centro"), QStringLiteral("Xc :"), QStringLiteral("Yc :"), centro } },
        prompter, parent)
{
}
