#include "app/dlg_sobre.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

CDlgSobre::CDlgSobre(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Sobre o tarvex"));
    auto* layout = new QVBoxLayout(this);
    auto* titulo = new QLabel(QStringLiteral(
        "<b>Tarvex - Sistema de Cálculo de Campos Elétricos e Magnéticos por Elementos "
        "Finitos</b>"));
    titulo->setWordWrap(true);
    layout->addWidget(titulo);
    layout->addWidget(new QLabel(QStringLiteral("versão 1.8 - 2005")));
    layout->addWidget(new QLabel(QStringLiteral("Todos os direitos reservados.")));
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(botoes);
}
