#include "results/dlg_integrais.h"

#include "common/campos_numericos.h"
#include "common/core_texts.h"
#include "common/messages.h"
#include "common/prompter.h"
#include "results/integrals.h"
#include "results/mesh_doc.h"
#include "solver/solver_model.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

using campos_numericos::mostrar;
using core_texts::texto;

CDlgIntegrais::CDlgIntegrais(const QString& titulo,
    const std::vector<std::pair<std::string_view, std::string>>& campos, QWidget* parent)
    : QDialog(parent)
    , m_texto(new QPlainTextEdit(this))
{
    setWindowTitle(titulo);
    m_texto->setReadOnly(true);
    m_texto->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QStringList linhas;
    for (const auto& [rotulo, valor] : campos)
        linhas << core_texts::texto(rotulo).leftJustified(26) + QString::fromStdString(valor);
    m_texto->setPlainText(linhas.join(QLatin1Char('\n')));

    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* copiar = botoes->addButton(QStringLiteral("Copiar"), QDialogButtonBox::ActionRole);
    connect(copiar, &QPushButton::clicked, this, &CDlgIntegrais::copiar);
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_texto);
    layout->addWidget(botoes);
    resize(420, 240);
}

QString CDlgIntegrais::texto() const
{
    return m_texto->toPlainText();
}

void CDlgIntegrais::copiar()
{
    QApplication::clipboard()->setText(texto());
}

CDlgIndutancia::CDlgIndutancia(const tarvex::solver::SolverModel& model, double ultimaCorrente,
    Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_prompter(prompter)
    , m_magnetico(model.magnetic != 0)
    , m_excitacao(new QLineEdit(this))
    , m_comprimento(new QLineEdit(this))
    , m_resultado(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Indutância / Capacitância"));
    m_excitacao->setObjectName(QStringLiteral("excitacao"));
    m_comprimento->setObjectName(QStringLiteral("comprimento"));
    m_resultado->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (m_magnetico) {
        if (ultimaCorrente != 0.0)
            m_excitacao->setText(mostrar(ultimaCorrente));
    } else {
        m_excitacao->setText(mostrar(tarvex::results::imposedPotentialSpan(model)));
    }

    auto* form = new QFormLayout;
    form->addRow(
        m_magnetico ? QStringLiteral("Corrente I (A) :") : QStringLiteral("Tensão V (V) :"),
        m_excitacao);
    form->addRow(QStringLiteral("Comprimento (m) :"), m_comprimento);
    form->addRow(m_resultado);

    auto* calcula = new QPushButton(QStringLiteral("Calcula"), this);
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    botoes->addButton(calcula, QDialogButtonBox::ActionRole);
    calcula->setDefault(true);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(calcula, &QPushButton::clicked, this, &CDlgIndutancia::calcula);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(botoes);
}

bool CDlgIndutancia::calcula()
{
    double excitacao = 0.0;
    if (!campos_numericos::lerNumero(m_excitacao, excitacao)) {
        m_prompter.warn(
            texto(m_magnetico ? tarvex::msg::CorrenteInvalida : tarvex::msg::TensaoInvalida));
        return false;
    }
    double comprimento = 1.0;
    const bool porDispositivo = !m_comprimento->text().trimmed().isEmpty();
    if (porDispositivo
        && (!campos_numericos::lerNumero(m_comprimento, comprimento)
            || !tarvex::results::validLength(comprimento))) {
        m_prompter.warn(texto(tarvex::msg::ComprimentoInvalido));
        return false;
    }
    tarvex::results::Integrals total;
    if (const tarvex::Status s = tarvex::results::integrateTotal(m_model, total); !s) {
        m_prompter.warn(texto(s.message));
        return false;
    }
    total = tarvex::results::withLength(total, comprimento);
    double valor = 0.0;
    const tarvex::Status s = m_magnetico
        ? tarvex::results::inductanceFromEnergy(total.energy, excitacao, valor)
        : tarvex::results::capacitanceFromEnergy(total.energy, excitacao, valor);
    if (!s) {
        m_prompter.warn(texto(s.message));
        return false;
    }
    char linha[160];
    if (m_magnetico)
        std::snprintf(linha, sizeof linha, "Indutância (%s) : %12.4g    Energia (%s) : %12.4g",
            porDispositivo ? "H" : "H/m", valor, porDispositivo ? "J" : "J/m", total.energy);
    else
        std::snprintf(linha, sizeof linha, "Capacitância (%s) : %12.4g    Energia (%s) : %12.4g",
            porDispositivo ? "F" : "F/m", valor, porDispositivo ? "J" : "J/m", total.energy);
    m_resultado->setText(QString::fromUtf8(linha));
    return true;
}
