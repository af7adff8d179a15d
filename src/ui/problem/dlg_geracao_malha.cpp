#include "problem/dlg_geracao_malha.h"

#include "common/messages.h"
#include "common/progress.h"
#include "common/prompter.h"
#include "problem/dat_campos.h"
#include "problem/dat_doc.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/problem_data.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

/// The dialog's answer to the run: status text, progress bar, pending events, the go-on flag.
class CDlgGeracaoMalha::Progresso final : public tarvex::Progress {
public:
    explicit Progresso(CDlgGeracaoMalha& dialogo)
        : m_dialogo(dialogo)
    {
    }

    void status(std::string_view texto) override
    {
        m_dialogo.m_status->setText(dat_campos::texto(texto));
    }
    void percent(int valor) override
    {
        m_dialogo.m_barra->setValue(valor);
        emit m_dialogo.posicaoAlterada(valor);
    }
    bool goOn() override
    {
        QCoreApplication::processEvents();
        return m_dialogo.m_continuar;
    }

private:
    CDlgGeracaoMalha& m_dialogo;
};

CDlgGeracaoMalha::CDlgGeracaoMalha(MeshGenerationTarget& view, Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_view(view)
    , m_prompter(prompter)
    , m_status(new QLabel(dat_campos::texto(tarvex::msg::MalhaNaoGeradaStatus), this))
    , m_barra(new QProgressBar(this))
    , m_inicia(new QPushButton(QStringLiteral("Inicia"), this))
    , m_interrompe(new QPushButton(QStringLiteral("Interrompe"), this))
    , m_encerra(new QPushButton(QStringLiteral("Encerra"), this))
{
    setWindowTitle(QStringLiteral("Geração da Malha"));
    m_barra->setRange(0, 100);
    m_barra->setValue(0);
    m_status->setMinimumWidth(320);
    m_interrompe->setEnabled(false);
    m_inicia->setDefault(true);
    connect(m_inicia, &QPushButton::clicked, this, &CDlgGeracaoMalha::inicia);
    connect(m_interrompe, &QPushButton::clicked, this, &CDlgGeracaoMalha::interrompe);
    connect(m_encerra, &QPushButton::clicked, this, &CDlgGeracaoMalha::reject);

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(m_inicia);
    botoes->addWidget(m_interrompe);
    botoes->addStretch();
    botoes->addWidget(m_encerra);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_barra);
    layout->addLayout(botoes);
}

QString CDlgGeracaoMalha::textoStatus() const
{
    return m_status->text();
}

int CDlgGeracaoMalha::posicao() const
{
    return m_barra->value();
}

void CDlgGeracaoMalha::inicia()
{
    if (m_executando)
        return;
    CDatDoc& doc = m_view.documento();
    const bool tinhaMalha = !doc.data().triangulos.empty();
    m_executando = true;
    m_continuar = true;
    m_inicia->setEnabled(false);
    m_interrompe->setEnabled(true);
    m_encerra->setEnabled(false);
    m_barra->setValue(0);

    Progresso progresso(*this);
    tarvex::problem::MeshObserver* desenho = m_view.iniciaGeracao();
    const tarvex::Status s
        = tarvex::problem::gerarMalha(doc.data(), m_view.opcoesMalha(), progresso, desenho);
    m_view.terminaGeracao();

    m_executando = false;
    m_inicia->setEnabled(true);
    m_interrompe->setEnabled(false);
    m_encerra->setEnabled(true);

    if (s) {
        doc.setModified(true);
        m_view.mostraMalhaGerada();
        m_view.informacoesMalhaAtual();
        return;
    }
    // Whatever stopped the run, the problem is left without a mesh.
    if (tinhaMalha)
        doc.setModified(true);
    m_status->setText(dat_campos::texto(tarvex::msg::MalhaNaoGeradaStatus));
    m_barra->setValue(0);
    if (s.message != tarvex::msg::MalhaInterrompida) {
        m_view.restauraModo();
        m_prompter.warn(dat_campos::texto(s.message));
    }
    doc.updateAllViews();
}

void CDlgGeracaoMalha::interrompe()
{
    m_continuar = false;
    m_view.restauraModo();
}

void CDlgGeracaoMalha::reject()
{
    // The run is on the stack of "Inicia": closing now would pull the dialog from under it.
    if (m_executando)
        return;
    QDialog::reject();
}
