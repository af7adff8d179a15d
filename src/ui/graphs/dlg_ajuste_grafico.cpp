#include "graphs/dlg_ajuste_grafico.h"

#include "common/campos_numericos.h"
#include "common/prompter.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace {

const char* const TextoNaoNumero = " Digite um número válido em todos os campos !";

using campos_numericos::lerNumero;
using campos_numericos::mostrar;

} // namespace

CDlgAjusteGrafico::CDlgAjusteGrafico(Prompter& prompter, const tarvex::graphs::GraphAxes& eixos,
    Automatico automatico, QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_eixos(eixos)
    , m_automatico(std::move(automatico))
    , m_xMin(new QLineEdit(this))
    , m_xMax(new QLineEdit(this))
    , m_yMin(new QLineEdit(this))
    , m_yMax(new QLineEdit(this))
    , m_divX(new QSpinBox(this))
    , m_divY(new QSpinBox(this))
    , m_automaticoBotao(new QPushButton(QStringLiteral("Ajuste  Automático"), this))
{
    setWindowTitle(QStringLiteral("Ajustar Eixos"));
    // A count of zero would leave the grid without a step.
    m_divX->setRange(1, 32767);
    m_divY->setRange(1, 100);

    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("X mínimo"), m_xMin);
    campos->addRow(QStringLiteral("X máximo"), m_xMax);
    campos->addRow(QStringLiteral("Y mínimo"), m_yMin);
    campos->addRow(QStringLiteral("Y máximo"), m_yMax);
    campos->addRow(QStringLiteral("Nr. Divisões X"), m_divX);
    campos->addRow(QStringLiteral("Nr. Divisões Y"), m_divY);
    connect(m_automaticoBotao, &QPushButton::clicked, this, &CDlgAjusteGrafico::ajusteAutomatico);

    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(botoes, &QDialogButtonBox::accepted, this, &CDlgAjusteGrafico::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &CDlgAjusteGrafico::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(campos);
    layout->addWidget(m_automaticoBotao);
    layout->addWidget(botoes);
    carregar(eixos);
}

void CDlgAjusteGrafico::carregar(const tarvex::graphs::GraphAxes& eixos)
{
    m_xMin->setText(mostrar(eixos.xMin));
    m_xMax->setText(mostrar(eixos.xMax));
    m_yMin->setText(mostrar(eixos.yMin));
    m_yMax->setText(mostrar(eixos.yMax));
    m_divX->setValue(eixos.xDivisions);
    m_divY->setValue(eixos.yDivisions);
}

void CDlgAjusteGrafico::ajusteAutomatico()
{
    if (!m_automatico)
        return;
    m_eixos = m_automatico();
    carregar(m_eixos);
}

bool CDlgAjusteGrafico::validar()
{
    tarvex::graphs::GraphAxes lidos = m_eixos;
    if (!lerNumero(m_xMin, lidos.xMin) || !lerNumero(m_xMax, lidos.xMax)
        || !lerNumero(m_yMin, lidos.yMin) || !lerNumero(m_yMax, lidos.yMax)) {
        m_prompter.warn(QString::fromUtf8(TextoNaoNumero));
        return false;
    }
    lidos.xDivisions = static_cast<std::int16_t>(m_divX->value());
    lidos.yDivisions = static_cast<std::int16_t>(m_divY->value());
    m_eixos = lidos;
    return true;
}

void CDlgAjusteGrafico::accept()
{
    if (validar())
        QDialog::accept();
}
