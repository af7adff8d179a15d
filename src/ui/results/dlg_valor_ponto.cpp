#include "results/dlg_valor_ponto.h"

#include "common/campos_numericos.h"
#include "common/core_texts.h"
#include "common/messages.h"
#include "common/prompter.h"
#include "geometry/helpers.h"
#include "solver/solver_model.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>
#include <tuple>

using core_texts::texto;
using tarvex::evaluation::PointValues;

namespace {

/// A value set that reads "indefinido" everywhere, laid out for the model and the choice.
PointValues semValores(const tarvex::solver::SolverModel& model, bool polar)
{
    PointValues v;
    v.magnetic = model.magnetic != 0;
    v.polar = polar;
    v.induced
        = v.magnetic && model.calculationKind == tarvex::solver::CalculationKind::InducedCurrents;
    return v;
}

} // namespace

CDlgValorPontoXY::CDlgValorPontoXY(
    const tarvex::solver::SolverModel& model, Prompter& prompter, bool polar, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_prompter(prompter)
    , m_polarAtual(polar)
    , m_xy(new QRadioButton(QStringLiteral("XY"), this))
    , m_rt(new QRadioButton(QStringLiteral("RT"), this))
    , m_rotulo1(new QLabel(this))
    , m_rotulo2(new QLabel(this))
    , m_coord1(new QLineEdit(QStringLiteral("0"), this))
    , m_coord2(new QLineEdit(QStringLiteral("0"), this))
    , m_calcula(new QPushButton(QStringLiteral("Calcula"), this))
{
    setWindowTitle(QStringLiteral("Grandezas Pontuais"));
    m_coord1->setObjectName(QStringLiteral("coordenada1"));
    m_coord2->setObjectName(QStringLiteral("coordenada2"));
    (polar ? m_rt : m_xy)->setChecked(true);

    auto* escolha = new QHBoxLayout;
    escolha->addWidget(m_xy);
    escolha->addWidget(m_rt);
    escolha->addStretch();

    auto* ponto = new QGridLayout;
    ponto->addWidget(m_rotulo1, 0, 0);
    ponto->addWidget(m_coord1, 0, 1);
    ponto->addWidget(m_rotulo2, 1, 0);
    ponto->addWidget(m_coord2, 1, 1);
    ponto->addWidget(m_calcula, 0, 2, 2, 1);

    auto* grade = new QGridLayout;
    const auto campos = tarvex::evaluation::dialogFields(semValores(model, polar));
    int linha = 0;
    for (const auto& [rotulo, valor] : campos) {
        auto* r = new QLabel(texto(rotulo), this);
        auto* c = new QLineEdit(texto(valor), this);
        c->setReadOnly(true);
        c->setMinimumWidth(110);
        grade->addWidget(r, linha / 3, 2 * (linha % 3));
        grade->addWidget(c, linha / 3, 2 * (linha % 3) + 1);
        m_rotulos << r;
        m_campos << c;
        ++linha;
    }
    auto* grupo = new QGroupBox(this);
    grupo->setLayout(grade);

    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_calcula, &QPushButton::clicked, this, &CDlgValorPontoXY::calcula);
    connect(m_rt, &QRadioButton::toggled, this, &CDlgValorPontoXY::trocarEscolha);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(escolha);
    layout->addLayout(ponto);
    layout->addWidget(grupo);
    layout->addWidget(botoes);
    atualizarRotulos();
}

void CDlgValorPontoXY::setPolar(bool polar)
{
    (polar ? m_rt : m_xy)->setChecked(true);
}

void CDlgValorPontoXY::atualizarRotulos()
{
    m_rotulo1->setText(m_polarAtual ? QStringLiteral("R :") : QStringLiteral("X :"));
    m_rotulo2->setText(m_polarAtual ? QStringLiteral("T :") : QStringLiteral("Y :"));
    const auto campos = tarvex::evaluation::dialogFields(semValores(m_model, m_polarAtual));
    for (qsizetype i = 0; i < m_rotulos.size() && i < qsizetype(campos.size()); ++i)
        m_rotulos[i]->setText(texto(campos[std::size_t(i)].first));
}

void CDlgValorPontoXY::trocarEscolha(bool polar)
{
    if (polar == m_polarAtual)
        return;
    // The typed point stays the same point: its coordinates are converted to the new choice.
    double a = 0.0;
    double b = 0.0;
    const bool lidos
        = campos_numericos::lerNumero(m_coord1, a) && campos_numericos::lerNumero(m_coord2, b);
    double x = a;
    double y = b;
    if (lidos && m_polarAtual)
        std::tie(x, y) = tarvex::evaluation::polarToCartesian(a, b);
    m_polarAtual = polar;
    atualizarRotulos();
    if (lidos)
        setPonto(x, y);
    // The components shown belonged to the other frame.
    if (m_avaliado) {
        m_avaliado = false;
        mostrar(semValores(m_model, m_polarAtual));
        calcula();
    }
}

void CDlgValorPontoXY::setPonto(double x, double y)
{
    if (m_polarAtual) {
        const double raio = std::hypot(x, y);
        const double graus
            = raio > 0.0 ? tarvex::geometry::anguloPolar(x, y) * 180.0 / tarvex::geometry::Pi : 0.0;
        m_coord1->setText(campos_numericos::mostrar(raio));
        m_coord2->setText(campos_numericos::mostrar(graus));
    } else {
        m_coord1->setText(campos_numericos::mostrar(x));
        m_coord2->setText(campos_numericos::mostrar(y));
    }
}

bool CDlgValorPontoXY::calcula()
{
    double a = 0.0;
    double b = 0.0;
    if (!campos_numericos::lerNumero(m_coord1, a) || !campos_numericos::lerNumero(m_coord2, b)) {
        m_prompter.warn(texto(tarvex::msg::ValorInvalido));
        return false;
    }
    double x = a;
    double y = b;
    if (m_polarAtual)
        std::tie(x, y) = tarvex::evaluation::polarToCartesian(a, b);
    const PointValues valores = tarvex::evaluation::pointValues(m_model, x, y, m_polarAtual);
    // Values of another point must not stay next to the newly typed one.
    mostrar(valores);
    m_avaliado = valores.ok();
    if (!valores.ok()) {
        m_prompter.warn(
            texto(valores.status.ok ? tarvex::msg::PontoForaDominio : valores.status.message));
        return false;
    }
    return true;
}

void CDlgValorPontoXY::mostrar(const PointValues& valores)
{
    const auto campos = tarvex::evaluation::dialogFields(valores);
    for (qsizetype i = 0; i < m_campos.size() && i < qsizetype(campos.size()); ++i) {
        m_rotulos[i]->setText(texto(campos[std::size_t(i)].first));
        m_campos[i]->setText(texto(campos[std::size_t(i)].second));
    }
}

QList<std::pair<QString, QString>> CDlgValorPontoXY::valores() const
{
    QList<std::pair<QString, QString>> lista;
    for (qsizetype i = 0; i < m_campos.size(); ++i)
        lista.append({ m_rotulos[i]->text(), m_campos[i]->text() });
    return lista;
}

QString CDlgValorPontoXY::valor(const QString& rotulo) const
{
    for (qsizetype i = 0; i < m_campos.size(); ++i)
        if (m_rotulos[i]->text() == rotulo)
            return m_campos[i]->text();
    return {};
}
