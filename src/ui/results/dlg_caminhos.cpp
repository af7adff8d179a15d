#include "results/dlg_caminhos.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CDlgCurvasAdmissiveis::CDlgCurvasAdmissiveis(
    const QString& oleo, const QString& escoamento, QWidget* parent)
    : QDialog(parent)
    , m_oleo(new QLineEdit(oleo, this))
    , m_escoamento(new QLineEdit(escoamento, this))
{
    setWindowTitle(QStringLiteral("Curvas de Campo Admissível"));
    m_oleo->setObjectName(QStringLiteral("oleo"));
    m_escoamento->setObjectName(QStringLiteral("escoamento"));
    m_oleo->setPlaceholderText(QStringLiteral("fórmula interna"));
    m_escoamento->setPlaceholderText(QStringLiteral("fórmula interna"));
    const auto linha = [this](QLineEdit* campo) {
        auto* l = new QHBoxLayout;
        l->addWidget(campo);
        auto* procura = new QPushButton(QStringLiteral("&Procurar..."), this);
        connect(procura, &QPushButton::clicked, this, [this, campo] {
            const QString escolhido = QFileDialog::getOpenFileName(
                this, windowTitle(), campo->text(), QStringLiteral("Arquivos (*.mat)"));
            if (!escolhido.isEmpty())
                campo->setText(escolhido);
        });
        l->addWidget(procura);
        return l;
    };
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Óleo (comprimento mm, campo V/m) :"), linha(m_oleo));
    form->addRow(QStringLiteral("Escoamento (comprimento mm, campo V/m) :"), linha(m_escoamento));
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(botoes);
}
