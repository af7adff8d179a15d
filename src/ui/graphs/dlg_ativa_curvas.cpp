#include "graphs/dlg_ativa_curvas.h"

#include "common/core_texts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

CDlgAtivaCurvas::CDlgAtivaCurvas(const tarvex::graphs::GraphData& data,
    const tarvex::graphs::CurveActivation& ativas, QWidget* parent)
    : QDialog(parent)
    , m_ativas(ativas)
{
    setWindowTitle(QStringLiteral("Ativar/Desativar"));
    auto* layout = new QVBoxLayout(this);
    for (std::size_t i = 0; i < m_caixas.size(); ++i) {
        const std::string nome = i < data.curveNames.size() ? data.curveNames[i] : std::string();
        auto* caixa = new QCheckBox(core_texts::texto(nome), this);
        caixa->setChecked(ativas.flags[i]);
        caixa->setVisible(i < data.curves.size());
        layout->addWidget(caixa);
        m_caixas[i] = caixa;
    }
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(botoes);
}

tarvex::graphs::CurveActivation CDlgAtivaCurvas::ativas() const
{
    tarvex::graphs::CurveActivation out = m_ativas;
    for (std::size_t i = 0; i < m_caixas.size(); ++i)
        out.flags[i] = m_caixas[i]->isChecked();
    return out;
}
