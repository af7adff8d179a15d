#include "drawing/dlg_tolerancias.h"

#include "common/prompter.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>

#include <cmath>

CDlgTolerancias::CDlgTolerancias(double distanciaMinima, Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_valor(distanciaMinima)
{
    setWindowTitle(QStringLiteral("Tolerâncias para Exportar Arquivo"));
    auto* layout = new QFormLayout(this);
    m_campo = new QLineEdit(QString::number(distanciaMinima, 'g', 12));
    layout->addRow(QStringLiteral("Distância mínima entre pontos :"), m_campo);
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(botoes, &QDialogButtonBox::accepted, this, &CDlgTolerancias::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(botoes);
}

bool CDlgTolerancias::lerDistancia(const QString& texto, double& valor)
{
    // A decimal comma is what a Portuguese keyboard types; take it as the point.
    QString normalizado = texto.trimmed();
    normalizado.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double lido = QLocale::c().toDouble(normalizado, &ok);
    if (!ok || !std::isfinite(lido) || lido <= 0.0)
        return false;
    valor = lido;
    return true;
}

void CDlgTolerancias::accept()
{
    double lido = 0.0;
    if (!lerDistancia(m_campo->text(), lido)) {
        // Zero or a negative distance would merge nothing or everything in the export.
        m_prompter.warn(QStringLiteral(" A distância mínima entre pontos deve ser um número "
                                       "maior que zero !"));
        m_campo->setFocus();
        m_campo->selectAll();
        return;
    }
    m_valor = lido;
    QDialog::accept();
}
