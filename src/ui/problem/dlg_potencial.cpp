#include "problem/dlg_potencial.h"

#include "common/prompter.h"
#include "problem/dat_campos.h"
#include "problem/editing.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CDlgPotencial::CDlgPotencial(Variante variante, double valor, Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_valor(valor)
    , m_campo(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Potencial Imposto "));
    m_campo->setObjectName(QStringLiteral("valor"));
    m_campo->setText(dat_campos::mostrar(valor));
    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("Valor :"), m_campo);

    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    if (variante != Variante::Simples) {
        m_elimina = botoes->addButton(variante == Variante::EliminaSegmento
                ? QStringLiteral("Elimina Pot. Segmento")
                : QStringLiteral("Elimina Potencial Ponto"),
            QDialogButtonBox::DestructiveRole);
        connect(m_elimina, &QPushButton::clicked, this, &CDlgPotencial::elimina);
    }
    connect(botoes, &QDialogButtonBox::accepted, this, &CDlgPotencial::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &CDlgPotencial::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(campos);
    layout->addWidget(botoes);
}

void CDlgPotencial::accept()
{
    double v = 0.0;
    if (!dat_campos::lerNumero(m_campo, v)) {
        m_prompter.warn(dat_campos::texto(tarvex::msg::ValorInvalido));
        return;
    }
    m_valor = v;
    QDialog::accept();
}
