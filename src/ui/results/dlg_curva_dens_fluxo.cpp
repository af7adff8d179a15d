#include "results/dlg_curva_dens_fluxo.h"

CDlgCurvaDensFluxo::CDlgCurvaDensFluxo(const tarvex::geometry::Ponto& inicio,
    const tarvex::geometry::Ponto& fim, Prompter& prompter, QWidget* parent,
    Conferencia conferencia)
    : CDlgPontos(QStringLiteral("Teclado"),
        { { QStringLiteral("Ponto Inicial (X1,Y1)"), QStringLiteral("X1 :"), QStringLiteral("Y1 :"),
              inicio },
            { QStringLiteral("Ponto Final (X2,Y2)"), QStringLiteral("X2 :"), QStringLiteral("Y2 :"),
                fim } },
        prompter, parent, conferencia)
{
}
