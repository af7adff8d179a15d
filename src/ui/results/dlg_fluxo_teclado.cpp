#include "results/dlg_fluxo_teclado.h"

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

#include <optional>
#include <utility>

using campos_numericos::mostrar;
using core_texts::texto;

namespace {

QGroupBox* grupoPonto(const QString& titulo, const QString& rx, QLineEdit* x, const QString& ry,
    QLineEdit* y, QWidget* parent)
{
    auto* grupo = new QGroupBox(titulo, parent);
    auto* form = new QFormLayout(grupo);
    form->addRow(rx, x);
    form->addRow(ry, y);
    return grupo;
}

} // namespace

CDlgFluxoTeclado::CDlgFluxoTeclado(const tarvex::geometry::Ponto& inicio,
    const tarvex::geometry::Ponto& fim, CalculoFluxo calcularFluxo, Prompter& prompter,
    QWidget* parent)
    : QDialog(parent)
    , m_calcularFluxo(std::move(calcularFluxo))
    , m_prompter(prompter)
    , m_x1(new QLineEdit(this))
    , m_y1(new QLineEdit(this))
    , m_x2(new QLineEdit(this))
    , m_y2(new QLineEdit(this))
    , m_fluxo(new QLineEdit(texto(tarvex::msg::FluxoNaoCalculado), this))
    , m_calcula(new QPushButton(QStringLiteral("Calcula"), this))
{
    setWindowTitle(QStringLiteral("Teclado"));
    m_x1->setObjectName(QStringLiteral("x1"));
    m_y1->setObjectName(QStringLiteral("y1"));
    m_x2->setObjectName(QStringLiteral("x2"));
    m_y2->setObjectName(QStringLiteral("y2"));
    m_fluxo->setObjectName(QStringLiteral("fluxo"));
    m_fluxo->setReadOnly(true);
    m_x1->setText(mostrar(inicio.x));
    m_y1->setText(mostrar(inicio.y));
    m_x2->setText(mostrar(fim.x));
    m_y2->setText(mostrar(fim.y));

    auto* pontos = new QHBoxLayout;
    pontos->addWidget(grupoPonto(QStringLiteral("Ponto Inicial (X1,Y1)"), QStringLiteral("X1 :"),
        m_x1, QStringLiteral("Y1 :"), m_y1, this));
    pontos->addWidget(grupoPonto(QStringLiteral("Ponto Final (X2,Y2)"), QStringLiteral("X2 :"),
        m_x2, QStringLiteral("Y2 :"), m_y2, this));
    auto* resultado = new QFormLayout;
    resultado->addRow(QStringLiteral("Fluxo/m :"), m_fluxo);

    // "Calcula" computes without closing; only Cancel closes the dialog.
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    botoes->addButton(m_calcula, QDialogButtonBox::ActionRole);
    m_calcula->setDefault(true);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_calcula, &QPushButton::clicked, this, &CDlgFluxoTeclado::calcula);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pontos);
    layout->addLayout(resultado);
    layout->addWidget(botoes);
}

bool CDlgFluxoTeclado::calcula()
{
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
    if (!campos_numericos::lerNumero(m_x1, x1) || !campos_numericos::lerNumero(m_y1, y1)
        || !campos_numericos::lerNumero(m_x2, x2) || !campos_numericos::lerNumero(m_y2, y2)) {
        m_prompter.warn(texto(tarvex::msg::ValorInvalido));
        return false;
    }
    const std::optional<double> fluxo = m_calcularFluxo({ x1, y1 }, { x2, y2 });
    m_fluxo->setText(
        fluxo ? QString::asprintf("%12.4g", *fluxo) : texto(tarvex::msg::FluxoNaoCalculado));
    return fluxo.has_value();
}
