#include "problem/dlg_controle_malha.h"

#include "common/prompter.h"
#include "problem/dat_campos.h"
#include "problem/editing.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

namespace {

const QString ValorNaoPositivo = QStringLiteral(" O valor deve ser maior que zero !");
const QString AnguloFora = QStringLiteral(" O ângulo deve estar entre 0 e 60 graus !");
constexpr double AnguloMaximo = 60.0;

double grausParaRad(double graus)
{
    return graus * std::numbers::pi / 180.0;
}

QString mostraAngulo(double graus)
{
    return QString::number(graus, 'f', 3);
}

/// A field left as it was shown keeps the exact value it showed: what the dialog prints is
/// rounded, and reading it back would move the value a little at every OK.
bool leCampo(const QLineEdit* campo, const QString& mostrado, double original, double& out)
{
    if (campo->text() == mostrado) {
        out = original;
        return true;
    }
    return dat_campos::lerNumero(campo, out);
}

} // namespace

double CDlgControleMalha::anguloDoTermo(double termo)
{
    return std::asin(1.0 / (2.0 * termo)) * 180.0 / std::numbers::pi;
}

CDlgControleMalha::CDlgControleMalha(
    const ValoresControleMalha& valores, Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_valores(valores)
    , m_maiorAresta(new QRadioButton(QStringLiteral("Maior Aresta dos Elementos"), this))
    , m_menorSegmento(new QRadioButton(QStringLiteral("Menor Segmento como Referência"), this))
    , m_valor(new QLineEdit(dat_campos::mostrar(valores.comprimentoReferencia), this))
    , m_fatorAresta(new QLineEdit(dat_campos::mostrar(valores.fatorAresta), this))
    , m_fatorEspecial(new QLineEdit(dat_campos::mostrar(valores.fatorEspecial), this))
    , m_angulo(new QLineEdit(mostraAngulo(anguloDoTermo(valores.termoQualidade)), this))
    , m_verificaAngulo(new QCheckBox(QStringLiteral("Verifica condição de ângulo"), this))
    , m_recentragem(new QCheckBox(QStringLiteral("Recentragem dos elementos"), this))
    , m_geraMalha(new QPushButton(QStringLiteral("Gera Malha"), this))
{
    setWindowTitle(QStringLiteral("Controle de Geração da Malha"));
    m_valor->setObjectName(QStringLiteral("valor"));
    m_fatorAresta->setObjectName(QStringLiteral("fatorAresta"));
    m_fatorEspecial->setObjectName(QStringLiteral("fatorEspecial"));
    m_angulo->setObjectName(QStringLiteral("angulo"));
    (valores.modoAresta == 1 ? m_menorSegmento : m_maiorAresta)->setChecked(true);
    m_verificaAngulo->setChecked(valores.verificaAngulo);
    m_recentragem->setChecked(valores.recentragem);

    auto* modo = new QGroupBox(this);
    auto* modoLayout = new QVBoxLayout(modo);
    modoLayout->addWidget(m_maiorAresta);
    modoLayout->addWidget(m_menorSegmento);

    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("Valor:"), m_valor);
    campos->addRow(QStringLiteral("Fator Maior Aresta :"), m_fatorAresta);
    campos->addRow(QStringLiteral("Fator p/ Região Especial :"), m_fatorEspecial);
    campos->addRow(QStringLiteral("menor ângulo triângulo :"), m_angulo);

    auto* botoes = new QDialogButtonBox(this);
    botoes->addButton(m_geraMalha, QDialogButtonBox::ActionRole);
    botoes->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    botoes->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    connect(botoes, &QDialogButtonBox::accepted, this, &CDlgControleMalha::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &CDlgControleMalha::reject);
    connect(m_geraMalha, &QPushButton::clicked, this, &CDlgControleMalha::geraMalha);
    connect(m_maiorAresta, &QRadioButton::toggled, this, &CDlgControleMalha::atualizaCampos);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modo);
    layout->addLayout(campos);
    layout->addWidget(m_verificaAngulo);
    layout->addWidget(m_recentragem);
    layout->addWidget(botoes);
    atualizaCampos();
}

void CDlgControleMalha::atualizaCampos()
{
    const bool porValor = m_maiorAresta->isChecked();
    m_valor->setEnabled(porValor);
    m_fatorAresta->setEnabled(!porValor);
}

bool CDlgControleMalha::le()
{
    ValoresControleMalha v = m_valores;
    v.modoAresta = m_maiorAresta->isChecked() ? 0 : 1;
    double angulo = anguloDoTermo(m_valores.termoQualidade);
    // Only the enabled one of "Valor:" and "Fator Maior Aresta :" is read.
    QLineEdit* usado = v.modoAresta == 0 ? m_valor : m_fatorAresta;
    double& destino = v.modoAresta == 0 ? v.comprimentoReferencia : v.fatorAresta;
    const double original = destino;
    if (!leCampo(usado, dat_campos::mostrar(original), original, destino)
        || !leCampo(m_fatorEspecial, dat_campos::mostrar(m_valores.fatorEspecial),
            m_valores.fatorEspecial, v.fatorEspecial)
        || !leCampo(m_angulo, mostraAngulo(angulo), angulo, angulo)) {
        m_prompter.warn(dat_campos::texto(tarvex::msg::ValorInvalido));
        return false;
    }
    if (!(destino > 0.0) || !(v.fatorEspecial > 0.0)) {
        m_prompter.warn(ValorNaoPositivo);
        return false;
    }
    if (!(angulo > 0.0 && angulo < AnguloMaximo)) {
        m_prompter.warn(AnguloFora);
        return false;
    }
    const bool anguloMudou
        = m_angulo->text() != mostraAngulo(anguloDoTermo(m_valores.termoQualidade));
    if (anguloMudou)
        v.termoQualidade = 1.0 / (2.0 * std::sin(grausParaRad(angulo)));
    v.verificaAngulo = m_verificaAngulo->isChecked();
    v.recentragem = m_recentragem->isChecked();
    m_valores = v;
    return true;
}

void CDlgControleMalha::accept()
{
    if (le())
        QDialog::accept();
}

void CDlgControleMalha::geraMalha()
{
    if (le())
        done(GeraMalha);
}
