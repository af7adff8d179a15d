#include "results/dlg_calculo.h"

#include "common/campos_numericos.h"
#include "common/core_texts.h"
#include "common/messages.h"
#include "common/prompter.h"
#include "results/mesh_doc.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include <algorithm>

using campos_numericos::mostrar;
using core_texts::texto;
using tarvex::solver::RunEnd;
using tarvex::solver::RunReporter;
using tarvex::solver::RunResult;

namespace {

/// The edit fields' label, as every calculation dialog spells it (two blanks before the colon).
const QString RotuloErro = QStringLiteral("Erro Máximo (%)  :");

// Accepted ranges of the fields, as the user types them.
constexpr double ErroLinearMinimo = 1e-20;
constexpr double ErroLinearMaximo = 1e300;
constexpr double ErroNaoLinearMinimo = 0.0001;
constexpr double ErroNaoLinearMaximo = 10000.0;
constexpr int IteracoesMinimo = 1;
constexpr int IteracoesMaximo = 1000;

// Where the chosen solver method is remembered, shared by the three dialogs.
const QString ChaveMetodo = QStringLiteral("calculo/metodo");
const QString MetodoDiretoValor = QStringLiteral("direto");
const QString MetodoGradientesValor = QStringLiteral("gradientes");

QSettings configuracoes()
{
    return QSettings(QStringLiteral("Tarvex Lab"), QStringLiteral("tarvex"));
}

} // namespace

/// The dialog's answer to the run: status, bar and iteration line, pending events, the view's
/// running flag.
class CDlgProCalcBase::Reporter final : public RunReporter {
public:
    explicit Reporter(CDlgProCalcBase& dialogo)
        : m_dialogo(dialogo)
    {
    }

    void status(std::string_view t) override { m_dialogo.m_status->setText(texto(t)); }
    void percent(int valor) override
    {
        if (m_dialogo.m_barra)
            m_dialogo.m_barra->setValue(std::clamp(valor, 0, 100));
        emit m_dialogo.posicaoAlterada(valor);
    }
    void iterationLine(std::string_view t) override { m_dialogo.mostrarIteracao(texto(t)); }
    bool goOn() override
    {
        QCoreApplication::processEvents();
        emit m_dialogo.verificando();
        return m_dialogo.m_view.executando();
    }

private:
    CDlgProCalcBase& m_dialogo;
};

CDlgProCalcBase::CDlgProCalcBase(CalculationTarget& view, Prompter& prompter, const QString& titulo,
    bool comBarra, QWidget* parent)
    : QDialog(parent)
    , m_view(view)
    , m_prompter(prompter)
    , m_campos(new QVBoxLayout)
    , m_status(new QLabel(texto(tarvex::msg::StatusNaoIniciado), this))
    , m_metodo(new QComboBox(this))
    , m_calcula(new QPushButton(QStringLiteral("Calcula"), this))
    , m_encerra(new QPushButton(QStringLiteral("Encerra"), this))
    , m_interrompe(new QPushButton(QStringLiteral("Interrompe"), this))
{
    setWindowTitle(titulo);
    m_status->setMinimumWidth(320);
    m_interrompe->setEnabled(false);
    m_calcula->setDefault(true);
    connect(m_calcula, &QPushButton::clicked, this, &CDlgProCalcBase::calcula);
    connect(m_interrompe, &QPushButton::clicked, this, &CDlgProCalcBase::interrompe);
    connect(m_encerra, &QPushButton::clicked, this, &CDlgProCalcBase::reject);

    m_metodo->setObjectName(QStringLiteral("metodo"));
    m_metodo->addItem(texto(tarvex::msg::MetodoGradientesConjugados));
    m_metodo->addItem(texto(tarvex::msg::MetodoDireto));
    const bool direto = configuracoes().value(ChaveMetodo).toString() == MetodoDiretoValor;
    m_metodo->setCurrentIndex(direto ? 1 : 0);
    auto* metodo = new QFormLayout;
    metodo->addRow(texto(tarvex::msg::RotuloMetodo), m_metodo);

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(m_calcula);
    botoes->addWidget(m_interrompe);
    botoes->addStretch();
    botoes->addWidget(m_encerra);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_campos);
    layout->addLayout(metodo);
    layout->addWidget(m_status);
    if (comBarra) {
        m_barra = new QProgressBar(this);
        m_barra->setRange(0, 100);
        m_barra->setValue(0);
        layout->addWidget(m_barra);
    }
    layout->addLayout(botoes);
}

CDlgProCalcBase::~CDlgProCalcBase() = default;

QString CDlgProCalcBase::textoStatus() const
{
    return m_status->text();
}

void CDlgProCalcBase::mostrarStatus(const QString& t)
{
    m_status->setText(t);
}

int CDlgProCalcBase::posicao() const
{
    return m_barra ? m_barra->value() : 0;
}

QLineEdit* CDlgProCalcBase::novoCampo(const QString& rotulo, const QString& nome)
{
    auto* campo = new QLineEdit(this);
    campo->setObjectName(nome);
    auto* linha = new QFormLayout;
    linha->addRow(rotulo, campo);
    m_campos->addLayout(linha);
    return campo;
}

QLabel* CDlgProCalcBase::novaLinha(const QString& t)
{
    auto* linha = new QLabel(t, this);
    m_campos->addWidget(linha);
    return linha;
}

bool CDlgProCalcBase::lerNumero(const QLineEdit* campo, double& valor)
{
    if (campos_numericos::lerNumero(campo, valor))
        return true;
    m_prompter.warn(texto(tarvex::msg::ValorInvalido));
    return false;
}

bool CDlgProCalcBase::lerNoIntervalo(
    const QLineEdit* campo, double minimo, double maximo, double& valor)
{
    double lido = 0.0;
    if (!campos_numericos::lerNumero(campo, lido) || lido < minimo || lido > maximo) {
        m_prompter.warn(QString::asprintf(tarvex::msg::NumeroEntre, minimo, maximo));
        return false;
    }
    valor = lido;
    return true;
}

void CDlgProCalcBase::calcula()
{
    if (m_view.executando())
        return;
    if (!lerCampos())
        return;
    const bool direto = m_metodo->currentIndex() == 1;
    m_view.runSettings().method = direto ? tarvex::linalg::SolverMethod::Direct
                                         : tarvex::linalg::SolverMethod::ConjugateGradient;
    configuracoes().setValue(ChaveMetodo, direto ? MetodoDiretoValor : MetodoGradientesValor);

    m_view.setExecutando(true);
    m_status->setText(texto(tarvex::msg::StatusEmProgresso));
    m_calcula->setEnabled(false);
    m_encerra->setEnabled(false);
    m_metodo->setEnabled(false);
    m_interrompe->setEnabled(true);
    if (m_barra)
        m_barra->setValue(0);

    Reporter reporter(*this);
    const RunResult resultado = executar(reporter);

    m_view.setExecutando(false);
    m_fim = resultado.end;
    m_calcula->setEnabled(true);
    m_encerra->setEnabled(true);
    m_metodo->setEnabled(true);
    m_interrompe->setEnabled(false);
    switch (resultado.end) {
    case RunEnd::Finished:
        mostrarConclusao(resultado);
        if (m_barra)
            m_barra->setValue(100);
        break;
    case RunEnd::Interrupted:
        m_status->setText(texto(tarvex::msg::CalculoInterrompido));
        break;
    case RunEnd::Failed:
        // The run stopped on its own; the previous results are still in place.
        m_status->setText(texto(tarvex::msg::CalculoInterrompido));
        break;
    }
    m_view.concluirCalculo(resultado);
}

void CDlgProCalcBase::mostrarConclusao(const RunResult& resultado)
{
    m_status->setText(texto(tarvex::msg::StatusConcluido) + QLatin1Char('\n')
        + QString::asprintf(
            tarvex::msg::LinhaResiduo, resultado.solverIterations, resultado.relativeResidual));
}

void CDlgProCalcBase::interrompe()
{
    m_view.interromperCalculo();
}

void CDlgProCalcBase::reject()
{
    // The run is on the stack of "Calcula": closing now would pull the dialog from under it.
    if (m_view.executando())
        return;
    QDialog::reject();
}

// ---- Linear --------------------------------------------------------------------------------

CDlgProCalcLinear::CDlgProCalcLinear(CalculationTarget& view, Prompter& prompter, QWidget* parent)
    : CDlgProCalcBase(view, prompter, QStringLiteral("Cálculo Estático Linear"), true, parent)
{
    m_erro = novoCampo(RotuloErro, QStringLiteral("erro"));
    m_erro->setText(mostrar(m_view.runSettings().linearTolerance * 100.0));
}

bool CDlgProCalcLinear::lerCampos()
{
    double erro = 0.0;
    if (!lerNoIntervalo(m_erro, ErroLinearMinimo, ErroLinearMaximo, erro))
        return false;
    m_view.runSettings().linearTolerance = erro / 100.0;
    return true;
}

RunResult CDlgProCalcLinear::executar(RunReporter& reporter)
{
    m_view.runSettings().equipotentialCount = m_view.equipotentialCount();
    return tarvex::solver::runLinear(m_view.documento().model(), m_view.runSettings(), reporter);
}

// ---- Non-linear ----------------------------------------------------------------------------

CDlgProCalculo::CDlgProCalculo(CalculationTarget& view, Prompter& prompter, QWidget* parent)
    : CDlgProCalcBase(view, prompter, QStringLiteral("Cálculo Estático Não-Linear"), false, parent)
{
    m_iteracoes
        = novoCampo(QStringLiteral("Número Máximo de Iterações :"), QStringLiteral("iteracoes"));
    m_erro = novoCampo(RotuloErro, QStringLiteral("erro"));
    m_iteracao = novaLinha(texto(tarvex::msg::IteracaoNaoIniciada));
    m_iteracoes->setText(QString::number(m_view.runSettings().maxIterations));
    m_erro->setText(mostrar(m_view.runSettings().errorTarget * 100.0));
}

QString CDlgProCalculo::textoIteracao() const
{
    return m_iteracao->text();
}

void CDlgProCalculo::mostrarIteracao(const QString& t)
{
    m_iteracao->setText(t);
}

void CDlgProCalculo::mostrarConclusao(const RunResult& resultado)
{
    mostrarStatus(texto(tarvex::msg::StatusConcluido));
    // Also when the run had no step to make (its stored error already below the target).
    mostrarIteracao(QString::asprintf(
        tarvex::msg::LinhaPasso, resultado.nonlinearSteps, resultado.error * 100.0));
}

bool CDlgProCalculo::lerCampos()
{
    bool ok = false;
    const int iteracoes = QLocale::c().toInt(m_iteracoes->text().trimmed(), &ok);
    if (!ok || iteracoes < IteracoesMinimo || iteracoes > IteracoesMaximo) {
        m_prompter.warn(
            QString::asprintf(tarvex::msg::InteiroEntre, IteracoesMinimo, IteracoesMaximo));
        return false;
    }
    double erro = 0.0;
    if (!lerNoIntervalo(m_erro, ErroNaoLinearMinimo, ErroNaoLinearMaximo, erro))
        return false;
    m_view.runSettings().maxIterations = static_cast<std::uint16_t>(iteracoes);
    m_view.runSettings().errorTarget = erro / 100.0;
    return true;
}

RunResult CDlgProCalculo::executar(RunReporter& reporter)
{
    m_view.runSettings().equipotentialCount = m_view.equipotentialCount();
    return tarvex::solver::runNonlinear(m_view.documento().model(), m_view.runSettings(), reporter);
}

// ---- Induced currents ----------------------------------------------------------------------

CDlgProCalcLinearCorInd::CDlgProCalcLinearCorInd(
    CalculationTarget& view, Prompter& prompter, QWidget* parent)
    : CDlgProCalcBase(
        view, prompter, QStringLiteral("Cálculo Linear + Cor. Induzidas"), true, parent)
{
    m_erro = novoCampo(RotuloErro, QStringLiteral("erro"));
    m_frequencia = novoCampo(QStringLiteral("Freqüência (Hz) :"), QStringLiteral("frequencia"));
    // The field has always shown five times the percentage, and reads back the same way.
    m_erro->setText(mostrar(m_view.runSettings().linearTolerance * 500.0));
    m_frequencia->setText(mostrar(m_view.documento().model().frequency));
}

bool CDlgProCalcLinearCorInd::lerCampos()
{
    double erro = 0.0;
    double frequencia = 0.0;
    if (!lerNumero(m_erro, erro) || !lerNumero(m_frequencia, frequencia))
        return false;
    m_view.runSettings().linearTolerance = erro / 100.0 / 5.0;
    CMeshDoc& doc = m_view.documento();
    if (doc.model().frequency != frequencia) {
        doc.model().frequency = frequencia;
        doc.setModified(true);
    }
    return true;
}

RunResult CDlgProCalcLinearCorInd::executar(RunReporter& reporter)
{
    m_view.runSettings().equipotentialCount = m_view.equipotentialCount();
    return tarvex::solver::runInducedCurrents(
        m_view.documento().model(), m_view.runSettings(), reporter);
}
