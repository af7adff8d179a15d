#include "results/dlg_esc_cores.h"

#include "results/colour_map.h"

#include <QHBoxLayout>
#include <QPushButton>

#include <cstdint>
#include <utility>

CDlgEscCores::CDlgEscCores(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Escala de Cores"));
    using namespace tarvex::results;
    const std::pair<const char*, std::int32_t> mapas[] = {
        { "Módulo |B|", MapaInducao },
        { "Módulo |H|", MapaCampoH },
        { "Módulo |D|", MapaInducaoEletrica },
        { "Módulo |E|", MapaCampoE },
        { "Módulo |J|", MapaDensCorrente },
        { "Perdas", MapaDensPerdas },
    };
    auto* linha = new QHBoxLayout(this);
    for (const auto& [texto, quantidade] : mapas) {
        auto* b = new QPushButton(QString::fromUtf8(texto), this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, q = quantidade] { emit mapaPedido(q); });
        linha->addWidget(b);
        m_botoes << b;
    }
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    linha->addWidget(ok);
}

QPushButton* CDlgEscCores::botao(const QString& texto) const
{
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == texto)
            return b;
    return nullptr;
}
