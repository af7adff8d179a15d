#include "results/mesh_frame.h"

#include "results/mesh_view.h"

#include <QAction>
#include <QMenu>

void CMeshFrame::criarMenusCaminhos()
{
    const auto comando = [this](QMenu* menu, const QString& texto, auto slot) {
        QAction* a = novaAcao(texto);
        connect(a, &QAction::triggered, m_view, slot);
        menu->addAction(a);
    };
    auto* descarga = new QMenu(QStringLiteral("De&scarga"), this);
    comando(descarga, QStringLiteral("Cam. Crítico -> &Mouse"), &CMeshView::caminhoCriticoMouse);
    comando(
        descarga, QStringLiteral("Cam. Crítico -> &Teclado"), &CMeshView::caminhoCriticoTeclado);
    comando(descarga, QStringLiteral("&Desenho Cam. Crítico"), &CMeshView::desenhoCaminhoCritico);
    comando(descarga, QStringLiteral("Ca&mpo Cam. Crítico"), &CMeshView::campoCaminhoCritico);
    comando(descarga, QStringLiteral("Curva &Fator Segurança"), &CMeshView::fatorSegurancaCritico);
    descarga->addSeparator();
    QAction* curvas = novaAcao(QStringLiteral("Curvas &Admissíveis..."));
    connect(curvas, &QAction::triggered, m_view, &CMeshView::curvasAdmissiveis);
    descarga->addAction(curvas);

    auto* escoamento = new QMenu(QStringLiteral("Escoamen&to"), this);
    comando(escoamento, QStringLiteral("&Define Caminho"), &CMeshView::defineCaminho);
    comando(escoamento, QStringLiteral("&Calcula Caminho"), &CMeshView::calculaCaminho);
    comando(escoamento, QStringLiteral("Ca&mpo Escoamento"), &CMeshView::campoEscoamento);
    // The same text as in "De&scarga": the frame's lookup by text finds the first of the two.
    QAction* fator = new QAction(QStringLiteral("Curva &Fator Segurança"), this);
    fator->setObjectName(QStringLiteral("fatorSegurancaEscoamento"));
    connect(fator, &QAction::triggered, m_view, &CMeshView::fatorSegurancaEscoamento);
    escoamento->addAction(fator);
    comando(
        escoamento, QStringLiteral("De&senho Cam. Escoam."), &CMeshView::desenhoCaminhoEscoamento);
    escoamento->addSeparator();
    escoamento->addAction(curvas);

    // Before the help menu, which stays last.
    m_menus.insert(m_menus.isEmpty() ? 0 : m_menus.size() - 1, descarga);
    m_menus.insert(m_menus.isEmpty() ? 0 : m_menus.size() - 1, escoamento);
}
