#include "problem/dlg_ajustes_tolerancias.h"

#include "common/prompter.h"
#include "problem/dat_campos.h"
#include "problem/editing.h"
#include "problem/problem_data.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

CDlgAjustesTolerancias::CDlgAjustesTolerancias(
    double toleranciaArcos, double anguloArco, Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_tolerancia(toleranciaArcos)
    , m_angulo(anguloArco)
    , m_campoTolerancia(new QLineEdit(dat_campos::mostrar(toleranciaArcos), this))
    , m_campoAngulo(new QLineEdit(dat_campos::mostrar(anguloArco), this))
{
    setWindowTitle(QStringLiteral("Ajustes das Tolerâncias"));
    m_campoTolerancia->setObjectName(QStringLiteral("toleranciaArcos"));
    m_campoAngulo->setObjectName(QStringLiteral("anguloArco"));
    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("tolerância nos arcos :"), m_campoTolerancia);
    campos->addRow(QStringLiteral("ângulo mínimo arcos :"), m_campoAngulo);
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(botoes, &QDialogButtonBox::accepted, this, &CDlgAjustesTolerancias::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &CDlgAjustesTolerancias::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(campos);
    layout->addWidget(botoes);
}

void CDlgAjustesTolerancias::accept()
{
    double tolerancia = 0.0;
    double angulo = 0.0;
    if (!dat_campos::lerNumero(m_campoTolerancia, tolerancia)
        || !dat_campos::lerNumero(m_campoAngulo, angulo)) {
        m_prompter.warn(dat_campos::texto(tarvex::msg::ValorInvalido));
        return;
    }
    // The core's range checks, on a scratch problem so nothing is set before OK succeeds.
    tarvex::problem::ProblemData rascunho;
    if (const tarvex::Status s = tarvex::problem::defineTolerancias(rascunho, tolerancia, angulo);
        !s) {
        m_prompter.warn(dat_campos::texto(s.message));
        return;
    }
    m_tolerancia = tolerancia;
    m_angulo = angulo;
    QDialog::accept();
}
