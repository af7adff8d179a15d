#include "results/dlg_pontos.h"

#include "common/campos_numericos.h"
#include "common/core_texts.h"
#include "common/messages.h"
#include "common/prompter.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CDlgPontos::CDlgPontos(const QString& titulo, const std::vector<Grupo>& grupos, Prompter& prompter,
    QWidget* parent, Conferencia conferencia)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_conferencia(conferencia)
{
    setWindowTitle(titulo);
    auto* linha = new QHBoxLayout;
    for (const Grupo& g : grupos) {
        auto* x = new QLineEdit(campos_numericos::mostrar(g.inicial.x), this);
        auto* y = new QLineEdit(campos_numericos::mostrar(g.inicial.y), this);
        x->setObjectName(QStringLiteral("x%1").arg(m_x.size() + 1));
        y->setObjectName(QStringLiteral("y%1").arg(m_y.size() + 1));
        auto* grupo = new QGroupBox(g.titulo, this);
        auto* form = new QFormLayout(grupo);
        form->addRow(g.rotuloX, x);
        form->addRow(g.rotuloY, y);
        linha->addWidget(grupo);
        m_x.push_back(x);
        m_y.push_back(y);
        m_pontos.push_back(g.inicial);
    }
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_calcula = botoes->addButton(QStringLiteral("Calcula"), QDialogButtonBox::AcceptRole);
    m_calcula->setDefault(true);
    connect(botoes, &QDialogButtonBox::accepted, this, &CDlgPontos::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(linha);
    layout->addWidget(botoes);
}

bool CDlgPontos::lerCampos(std::vector<tarvex::geometry::Ponto>& out) const
{
    std::vector<tarvex::geometry::Ponto> lidos(m_x.size());
    for (std::size_t i = 0; i < m_x.size(); ++i)
        if (!campos_numericos::lerNumero(m_x[i], lidos[i].x)
            || !campos_numericos::lerNumero(m_y[i], lidos[i].y))
            return false;
    out = std::move(lidos);
    return true;
}

void CDlgPontos::accept()
{
    if (m_conferencia == Conferencia::AoCalcular) {
        std::vector<tarvex::geometry::Ponto> lidos;
        if (!lerCampos(lidos)) {
            m_prompter.warn(core_texts::texto(tarvex::msg::ValorInvalido));
            return;
        }
        m_pontos = std::move(lidos);
    }
    QDialog::accept();
}
