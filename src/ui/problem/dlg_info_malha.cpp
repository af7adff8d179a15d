#include "problem/dlg_info_malha.h"

#include "common/messages.h"
#include "problem/dat_campos.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

CDlgInfoMalha::CDlgInfoMalha(
    const std::vector<std::pair<std::string_view, std::string>>& textos, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(dat_campos::texto(tarvex::msg::InformacoesMalhaTitulo));
    auto* grade = new QGridLayout;
    int linha = 0;
    for (const auto& [rotulo, valor] : textos) {
        const QString r = dat_campos::texto(rotulo);
        const QString v = QString::fromStdString(valor);
        m_linhas.emplace_back(r, v);
        auto* campo = new QLabel(v, this);
        campo->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grade->addWidget(new QLabel(r, this), linha, 0);
        grade->addWidget(campo, linha, 1, Qt::AlignRight);
        ++linha;
    }
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grade);
    layout->addWidget(botoes);
}

QString CDlgInfoMalha::valor(const QString& rotulo) const
{
    for (const auto& [r, v] : m_linhas)
        if (r == rotulo)
            return v;
    return {};
}
