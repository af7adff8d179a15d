#include "results/dlg_caminhos.h"

#include "common/campos_numericos.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using campos_numericos::mostrar;

namespace {

QGroupBox* grupoPonto(const QString& titulo, const QString& rx, QLineEdit* x, const QString& ry,
    QLineEdit* y, QWidget* parent)
{
    auto* grupo = new QGroupBox(titulo, parent);
    auto* form = new QFormLayout(grupo);
    form->addRow(rx, x);
    form->addRow(ry, y);
    return grupo;
}

} // namespace

CDlgTecladoCaminho::CDlgTecladoCaminho(double x1, double y1, double x2, double y2, QWidget* parent)
    : QDialog(parent)
    , m_x1(new QLineEdit(mostrar(x1), this))
    , m_y1(new QLineEdit(mostrar(y1), this))
    , m_x2(new QLineEdit(mostrar(x2), this))
    , m_y2(new QLineEdit(mostrar(y2), this))
{
    setWindowTitle(QStringLiteral("Teclado"));
    m_x1->setObjectName(QStringLiteral("x1"));
    m_y1->setObjectName(QStringLiteral("y1"));
    m_x2->setObjectName(QStringLiteral("x2"));
    m_y2->setObjectName(QStringLiteral("y2"));
    auto* pontos = new QHBoxLayout;
    pontos->addWidget(grupoPonto(QStringLiteral("Ponto Inicial (X1,Y1)"), QStringLiteral("X1 :"),
        m_x1, QStringLiteral("Y1 :"), m_y1, this));
    pontos->addWidget(grupoPonto(QStringLiteral("Ponto Final (X2,Y2)"), QStringLiteral("X2 :"),
        m_x2, QStringLiteral("Y2 :"), m_y2, this));
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    botoes->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Calcula"));
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pontos);
    layout->addWidget(botoes);
}

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
