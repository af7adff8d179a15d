#include "drawing/dlg_valores_desenho.h"

#include "common/campos_numericos.h"
#include "common/core_texts.h"
#include "common/messages.h"
#include "common/prompter.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CDlgValoresDesenho::CDlgValoresDesenho(const QString& titulo, const QStringList& rotulos,
    const QStringList& opcoes, Prompter& prompter, Acao acao, const QString& textoInsere,
    QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_acao(std::move(acao))
{
    setWindowTitle(titulo);
    auto* campos = new QFormLayout;
    for (const QString& rotulo : rotulos) {
        auto* campo = new QLineEdit(QStringLiteral("0"), this);
        campo->setObjectName(QStringLiteral("campo%1").arg(m_campos.size()));
        campos->addRow(rotulo, campo);
        m_campos << campo;
    }
    for (const QString& texto : opcoes) {
        auto* caixa = new QCheckBox(texto, this);
        campos->addRow(caixa);
        m_opcoes << caixa;
    }

    auto* botoes = new QDialogButtonBox(this);
    if (m_acao) {
        QPushButton* insere = botoes->addButton(textoInsere, QDialogButtonBox::ActionRole);
        insere->setDefault(true);
        connect(insere, &QPushButton::clicked, this, &CDlgValoresDesenho::inserir);
        QPushButton* encerra
            = botoes->addButton(QStringLiteral("&Encerra"), QDialogButtonBox::RejectRole);
        connect(encerra, &QPushButton::clicked, this, &QDialog::reject);
    } else {
        botoes->setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        connect(botoes, &QDialogButtonBox::accepted, this, &CDlgValoresDesenho::accept);
        connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(campos);
    layout->addWidget(botoes);
}

void CDlgValoresDesenho::setNumero(int campo, double valor)
{
    if (QLineEdit* c = m_campos.value(campo))
        c->setText(campos_numericos::mostrar(valor));
}

bool CDlgValoresDesenho::ler()
{
    Valores lidos;
    for (QLineEdit* campo : m_campos) {
        double v = 0.0;
        if (!campos_numericos::lerNumero(campo, v)) {
            m_prompter.warn(core_texts::texto(tarvex::msg::ValorInvalido));
            campo->setFocus();
            campo->selectAll();
            return false;
        }
        lidos.numeros.push_back(v);
    }
    for (QCheckBox* caixa : m_opcoes)
        lidos.opcoes.push_back(caixa->isChecked());
    m_valores = std::move(lidos);
    return true;
}

bool CDlgValoresDesenho::inserir()
{
    if (!ler())
        return false;
    if (!m_acao)
        return true;
    const QString recusa = m_acao(m_valores);
    if (!recusa.isEmpty()) {
        m_prompter.warn(recusa);
        return false;
    }
    return true;
}

void CDlgValoresDesenho::accept()
{
    if (m_acao) {
        inserir();
        return;
    }
    if (ler())
        QDialog::accept();
}
