#include "problem/dlg_troca_simetria.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CDlgTrocaSimetria::CDlgTrocaSimetria(const QString& pergunta, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(pergunta);
    auto* rotulo = new QLabel(pergunta, this);
    rotulo->setObjectName(QStringLiteral("pergunta"));
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = botoes->button(QDialogButtonBox::Ok);
    m_deleta = botoes->addButton(
        QStringLiteral("Deleta Simetria  Atual"), QDialogButtonBox::DestructiveRole);
    connect(m_deleta, &QPushButton::clicked, this, [this] { done(Deleta); });
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rotulo);
    layout->addWidget(botoes);
}
