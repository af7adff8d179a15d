#include "problem/dlg_edit_reg.h"

#include "common/app_services.h"
#include "common/file_chooser.h"
#include "common/messages.h"
#include "common/prompter.h"
#include "materials/mat_io.h"
#include "materials/materiais_ui.h"
#include "problem/dat_campos.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using dat_campos::lerNumero;
using dat_campos::mostrar;
using dat_campos::texto;
using tarvex::problem::ValoresRegiao;

namespace {

const QString MatFilter = QStringLiteral("Arquivos (*.mat)");
const QString MatSuffix = QStringLiteral("mat");

QLineEdit* novoCampo(QWidget* pai, const char* nome)
{
    auto* campo = new QLineEdit(pai);
    campo->setObjectName(QLatin1String(nome));
    return campo;
}

} // namespace

CDlgEditReg::CDlgEditReg(bool eletrico, Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_eletrico(eletrico)
    , m_prompter(prompter)
    , m_rotuloDensidade(new QLabel(this))
    , m_densidade(novoCampo(this, "densidade"))
    , m_condutividade(novoCampo(this, "condutividade"))
    , m_magnetizacao(new QGroupBox(QStringLiteral("Magnetização (Imãs Permanentes) :"), this))
    , m_brX(novoCampo(this, "brX"))
    , m_brY(novoCampo(this, "brY"))
    , m_brT(novoCampo(this, "brT"))
    , m_brR(novoCampo(this, "brR"))
    , m_permeabilidade(novoCampo(this, "permeabilidade"))
    , m_linear(new QRadioButton(QStringLiteral("Linear"), this))
    , m_naoLinear(new QRadioButton(QStringLiteral("Não-Linear"), this))
    , m_arquivo(novoCampo(this, "arquivoMaterial"))
    , m_selecionar(new QPushButton(QStringLiteral("selecionar"), this))
    , m_grafico(new QPushButton(QStringLiteral("gráfico"), this))
    , m_editar(new QPushButton(QStringLiteral("Editar"), this))
    , m_removeGrafico(new QPushButton(QStringLiteral("remove gráfico"), this))
{
    setWindowTitle(QStringLiteral("Características da Região"));
    m_rotuloDensidade->setText(
        eletrico ? QStringLiteral(" Dens. Cargas C/mm²") : QStringLiteral("Dens. Cor. (A/mm2) "));

    auto* fontes = new QFormLayout;
    fontes->addRow(m_rotuloDensidade, m_densidade);
    fontes->addRow(QStringLiteral("Condutivid.  (S/m) "), m_condutividade);

    auto* br = new QFormLayout(m_magnetizacao);
    br->addRow(QStringLiteral("Br  X :"), m_brX);
    br->addRow(QStringLiteral("Br  Y :"), m_brY);
    br->addRow(QStringLiteral("Br  T :"), m_brT);
    br->addRow(QStringLiteral("Br  R :"), m_brR);
    // Remanence belongs to a magnetic analysis only.
    m_magnetizacao->setEnabled(!eletrico);

    auto* tipo = new QGroupBox(QStringLiteral("Material tipo :"), this);
    auto* tipoLayout = new QHBoxLayout(tipo);
    tipoLayout->addWidget(m_linear);
    tipoLayout->addWidget(m_naoLinear);
    auto* grupoTipo = new QButtonGroup(this);
    grupoTipo->addButton(m_linear);
    grupoTipo->addButton(m_naoLinear);
    m_linear->setChecked(true);

    auto* material = new QFormLayout;
    material->addRow(QStringLiteral("Perm. Relativa "), m_permeabilidade);
    material->addRow(QStringLiteral("Nome do arquivo   de material:"), m_arquivo);
    auto* botoesMaterial = new QHBoxLayout;
    for (QPushButton* b : { m_selecionar, m_grafico, m_editar, m_removeGrafico }) {
        b->setAutoDefault(false);
        botoesMaterial->addWidget(b);
    }

    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(botoes, &QDialogButtonBox::accepted, this, &CDlgEditReg::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &CDlgEditReg::reject);
    connect(m_linear, &QRadioButton::toggled, this, &CDlgEditReg::atualizaTipoMaterial);
    connect(m_selecionar, &QPushButton::clicked, this, &CDlgEditReg::selecionar);
    connect(m_grafico, &QPushButton::clicked, this, &CDlgEditReg::grafico);
    connect(m_editar, &QPushButton::clicked, this, &CDlgEditReg::editar);
    connect(m_removeGrafico, &QPushButton::clicked, this, &CDlgEditReg::removeGrafico);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fontes);
    layout->addWidget(m_magnetizacao);
    layout->addWidget(tipo);
    layout->addLayout(material);
    layout->addLayout(botoesMaterial);
    layout->addWidget(botoes);

    setValores(ValoresRegiao {});
}

void CDlgEditReg::atualizaTipoMaterial()
{
    const bool naoLinear = m_naoLinear->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*> {
             m_arquivo, m_selecionar, m_grafico, m_editar, m_removeGrafico })
        w->setEnabled(naoLinear);
}

void CDlgEditReg::setValores(const ValoresRegiao& v)
{
    m_valores = v;
    m_densidade->setText(mostrar(v.densidade));
    m_condutividade->setText(mostrar(v.condutividade));
    m_brX->setText(mostrar(v.brX));
    m_brY->setText(mostrar(v.brY));
    m_brT->setText(mostrar(v.brT));
    m_brR->setText(mostrar(v.brR));
    m_permeabilidade->setText(mostrar(v.permeabilidade));
    m_arquivo->setText(QString::fromStdString(v.arquivoMaterial));
    (v.linear ? m_linear : m_naoLinear)->setChecked(true);
    atualizaTipoMaterial();
}

bool CDlgEditReg::lerCampos(ValoresRegiao& v)
{
    ValoresRegiao lido;
    const std::pair<QLineEdit*, double*> campos[] = { { m_densidade, &lido.densidade },
        { m_condutividade, &lido.condutividade }, { m_brX, &lido.brX }, { m_brY, &lido.brY },
        { m_brT, &lido.brT }, { m_brR, &lido.brR }, { m_permeabilidade, &lido.permeabilidade } };
    for (const auto& [campo, destino] : campos) {
        if (!lerNumero(campo, *destino)) {
            m_prompter.warn(texto(tarvex::msg::ValorInvalido));
            campo->setFocus();
            return false;
        }
    }
    lido.linear = m_linear->isChecked();
    lido.arquivoMaterial = m_arquivo->text().trimmed().toStdString();
    if (!(lido.permeabilidade >= tarvex::problem::PermMinima
            && lido.permeabilidade <= tarvex::problem::PermMaxima)) {
        m_prompter.warn(texto(tarvex::msg::PermRelativaFora));
        m_permeabilidade->setFocus();
        return false;
    }
    v = lido;
    return true;
}

void CDlgEditReg::accept()
{
    ValoresRegiao v;
    if (!lerCampos(v))
        return;
    if (!v.linear && v.arquivoMaterial.empty()) {
        if (m_prompter.ask(texto(tarvex::msg::CriaArquivoNovo)) != Prompter::YesNo::Yes)
            return;
        // A new file needs a place: creating one named only ".mat" in whatever folder is current
        // would leave the region without a usable name.
        if (!m_app)
            return m_prompter.warn(texto(tarvex::msg::InformeArquivoMaterial));
        const QString nome = m_app->fileChooser().saveFile(this, MatFilter, MatSuffix, QString());
        if (nome.isEmpty())
            return;
        if (const tarvex::Status s = tarvex::materials::criaArquivoMaterial(nome.toStdString());
            !s) {
            m_prompter.warn(texto(s.message) + QLatin1Char('\n') + nome);
            return;
        }
        m_arquivo->setText(nome);
        v.arquivoMaterial = nome.toStdString();
        editarArquivoMaterial(*m_app, this, nome, m_eletrico);
    }
    m_valores = v;
    QDialog::accept();
}

QString CDlgEditReg::arquivoCompleto()
{
    const QString nome = m_arquivo->text().trimmed();
    if (nome.isEmpty()) {
        m_prompter.warn(texto(tarvex::msg::InformeArquivoMaterial));
        return {};
    }
    return QString::fromStdString(tarvex::materials::arquivoMaterialExistente(nome.toStdString()));
}

void CDlgEditReg::selecionar()
{
    if (!m_app)
        return;
    const QString nome = m_app->fileChooser().openFile(this, MatFilter, MatSuffix, true);
    if (!nome.isEmpty())
        m_arquivo->setText(QFileInfo(nome).absoluteFilePath());
}

void CDlgEditReg::grafico()
{
    const QString arquivo = arquivoCompleto();
    if (arquivo.isEmpty() || !m_app)
        return;
    m_plot = plotarArquivoMaterial(*m_app, arquivo, m_eletrico, m_plot);
}

void CDlgEditReg::editar()
{
    const QString arquivo = arquivoCompleto();
    if (arquivo.isEmpty())
        return;
    if (!QFileInfo::exists(arquivo)) {
        const std::string pergunta = tarvex::materials::perguntaCriaArquivo(arquivo.toStdString());
        if (m_prompter.ask(QString::fromStdString(pergunta)) != Prompter::YesNo::Yes)
            return;
        if (const tarvex::Status s = tarvex::materials::criaArquivoMaterial(arquivo.toStdString());
            !s) {
            m_prompter.warn(texto(s.message) + QLatin1Char('\n') + arquivo);
            return;
        }
    }
    if (m_app)
        editarArquivoMaterial(*m_app, this, arquivo, m_eletrico);
}

void CDlgEditReg::removeGrafico()
{
    if (m_app)
        m_app->fecharGrafico(m_plot);
    m_plot = nullptr;
}
