#include "results/dlg_num_equipot.h"

#include "common/messages.h"
#include "common/prompter.h"
#include "solver/equipotentials.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

CDlgNumEquipot::CDlgNumEquipot(int numero, Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_numero(new QLineEdit(this))
    , m_recalcula(new QPushButton(QStringLiteral("Recalcula"), this))
    , m_valor(numero)
{
    setWindowTitle(QStringLiteral("Número de Equipotenciais"));
    m_numero->setObjectName(QStringLiteral("numero"));
    m_numero->setText(QString::number(m_valor));

    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("Número de Equipotenciais :"), m_numero);
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    botoes->addButton(m_recalcula, QDialogButtonBox::ActionRole);
    connect(botoes, &QDialogButtonBox::accepted, this, &CDlgNumEquipot::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &CDlgNumEquipot::reject);
    connect(m_recalcula, &QPushButton::clicked, this, &CDlgNumEquipot::recalcula);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(campos);
    layout->addWidget(botoes);
}

bool CDlgNumEquipot::validar()
{
    bool ok = false;
    const int valor = QLocale::c().toInt(m_numero->text().trimmed(), &ok);
    if (!ok || valor < tarvex::solver::MinEquipotentialCount
        || valor > tarvex::solver::MaxEquipotentialCount) {
        m_prompter.warn(QString::asprintf(tarvex::msg::InteiroEntre,
            tarvex::solver::MinEquipotentialCount, tarvex::solver::MaxEquipotentialCount));
        return false;
    }
    m_valor = valor;
    return true;
}

void CDlgNumEquipot::accept()
{
    if (validar())
        QDialog::accept();
}

void CDlgNumEquipot::recalcula()
{
    if (!validar())
        return;
    emit recalculoPedido(m_valor);
}
