#include "common/dlg_escala.h"

#include "common/campos_numericos.h"
#include "common/prompter.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

#include <cmath>

namespace {

const char* const TextoNaoNumero = " Digite um número válido em todos os campos !";
const char* const TextoXInvertido = " X mínimo deve ser menor que X máximo !";
const char* const TextoYInvertido = " Y mínimo deve ser menor que Y máximo !";
const char* const TextoFatorInvalido = " Fator Escala deve ser maior que zero !";

using campos_numericos::lerNumero;
using campos_numericos::mostrar;

} // namespace

CDlgEscala::CDlgEscala(Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_xMin(new QLineEdit(this))
    , m_xMax(new QLineEdit(this))
    , m_yMin(new QLineEdit(this))
    , m_yMax(new QLineEdit(this))
    , m_fator(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Escala"));
    m_xMin->setObjectName(QStringLiteral("xMinimo"));
    m_xMax->setObjectName(QStringLiteral("xMaximo"));
    m_yMin->setObjectName(QStringLiteral("yMinimo"));
    m_yMax->setObjectName(QStringLiteral("yMaximo"));
    m_fator->setObjectName(QStringLiteral("fatorEscala"));

    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("X mínimo:"), m_xMin);
    campos->addRow(QStringLiteral("X máximo:"), m_xMax);
    campos->addRow(QStringLiteral("Y mínimo:"), m_yMin);
    campos->addRow(QStringLiteral("Y máximo:"), m_yMax);
    campos->addRow(QStringLiteral("Fator Escala:"), m_fator);

    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(botoes, &QDialogButtonBox::accepted, this, &CDlgEscala::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &CDlgEscala::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(campos);
    layout->addWidget(botoes);
}

void CDlgEscala::setValores(const ValoresEscala& valores)
{
    m_valores = valores;
    m_xMin->setText(mostrar(valores.xMin));
    m_xMax->setText(mostrar(valores.xMax));
    m_yMin->setText(mostrar(valores.yMin));
    m_yMax->setText(mostrar(valores.yMax));
    m_fator->setText(mostrar(valores.fatorEscala));
}

bool CDlgEscala::validar()
{
    ValoresEscala lidos;
    if (!lerNumero(m_xMin, lidos.xMin) || !lerNumero(m_xMax, lidos.xMax)
        || !lerNumero(m_yMin, lidos.yMin) || !lerNumero(m_yMax, lidos.yMax)
        || !lerNumero(m_fator, lidos.fatorEscala)) {
        m_prompter.warn(QString::fromUtf8(TextoNaoNumero));
        return false;
    }
    if (lidos.xMin >= lidos.xMax) {
        m_prompter.warn(QString::fromUtf8(TextoXInvertido));
        return false;
    }
    if (lidos.yMin >= lidos.yMax) {
        m_prompter.warn(QString::fromUtf8(TextoYInvertido));
        return false;
    }
    if (lidos.fatorEscala <= 0.0) {
        m_prompter.warn(QString::fromUtf8(TextoFatorInvalido));
        return false;
    }
    m_valores = lidos;
    return true;
}

void CDlgEscala::accept()
{
    if (validar())
        QDialog::accept();
}
