#include "materials/dlg_edit_arq_mat.h"

#include "common/app_services.h"
#include "common/core_texts.h"
#include "common/file_chooser.h"
#include "common/prompter.h"
#include "graphs/graph_doc.h"
#include "graphs/material_graph.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>
#include <sstream>

namespace {

const QString MatFilter = QStringLiteral("Arquivos (*.mat)");
const QString MatSuffix = QStringLiteral("mat");
const char* const TextoNaoNumero = " Digite um número válido nos campos campo e indução !";
/// A row keeps at most this many characters of a typed value.
constexpr qsizetype MaxTexto = 16;

/// A number as the materials file holds it; a longer text would be cut in the row and change
/// its value without a word.
bool lerNumero(const QString& texto, double& out)
{
    if (texto.isEmpty() || texto.size() > MaxTexto)
        return false;
    bool ok = false;
    const double valor = QLocale::c().toDouble(texto, &ok);
    if (!ok || !std::isfinite(valor))
        return false;
    out = valor;
    return true;
}

} // namespace

CDlgEditArqMat::CDlgEditArqMat(
    AppServices& app, const QString& path, bool eletrico, QWidget* parent)
    : QDialog(parent)
    , m_app(app)
    , m_path(path)
    , m_eletrico(eletrico)
    , m_lista(new QTreeWidget(this))
    , m_campo(new QLineEdit(this))
    , m_inducao(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Edição de Arquivos de Materiais"));

    // The rows line up their values with blanks.
    const QFont fixa = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_lista->setColumnCount(1);
    m_lista->setHeaderLabels({ core_texts::texto(tarvex::materials::cabecalhoLista(eletrico)) });
    m_lista->setRootIsDecorated(false);
    m_lista->setUniformRowHeights(true);
    m_lista->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lista->setFont(fixa);
    m_lista->header()->setFont(fixa);
    m_lista->setColumnWidth(0, 170);
    m_lista->setMinimumWidth(260);
    connect(m_lista, &QTreeWidget::itemSelectionChanged, this, &CDlgEditArqMat::linhaEscolhida);

    auto* botaoInserir = new QPushButton(QStringLiteral("Inserir"), this);
    auto* botaoAtualizar = new QPushButton(QStringLiteral("Atualizar"), this);
    auto* botaoRemover = new QPushButton(QStringLiteral("Remover"), this);
    auto* botaoGrafico = new QPushButton(QStringLiteral("Gráfico"), this);
    auto* botaoGravar = new QPushButton(QStringLiteral("Gravar"), this);
    auto* botaoGravarComo = new QPushButton(QStringLiteral("Gravar Como ..."), this);
    auto* botaoOk = new QPushButton(QStringLiteral("OK"), this);
    auto* botaoCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    botaoInserir->setAutoDefault(false);
    botaoOk->setDefault(true);
    connect(botaoInserir, &QPushButton::clicked, this, &CDlgEditArqMat::inserir);
    connect(botaoAtualizar, &QPushButton::clicked, this, &CDlgEditArqMat::atualizar);
    connect(botaoRemover, &QPushButton::clicked, this, &CDlgEditArqMat::remover);
    connect(botaoGrafico, &QPushButton::clicked, this, &CDlgEditArqMat::mostrarGrafico);
    connect(botaoGravar, &QPushButton::clicked, this, &CDlgEditArqMat::gravar);
    connect(botaoGravarComo, &QPushButton::clicked, this, &CDlgEditArqMat::gravarComo);
    connect(botaoOk, &QPushButton::clicked, this, &CDlgEditArqMat::accept);
    connect(botaoCancelar, &QPushButton::clicked, this, &CDlgEditArqMat::reject);

    m_campo->setFont(fixa);
    m_inducao->setFont(fixa);
    auto* campos = new QGridLayout;
    campos->addWidget(new QLabel(QStringLiteral("campo :"), this), 0, 0);
    campos->addWidget(m_campo, 0, 1);
    campos->addWidget(new QLabel(QStringLiteral("indução :"), this), 1, 0);
    campos->addWidget(m_inducao, 1, 1);

    auto* direita = new QVBoxLayout;
    direita->addLayout(campos);
    for (QPushButton* b : { botaoInserir, botaoAtualizar, botaoRemover, botaoGrafico })
        direita->addWidget(b);
    direita->addStretch(1);
    for (QPushButton* b : { botaoGravar, botaoGravarComo, botaoOk, botaoCancelar })
        direita->addWidget(b);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_lista, 1);
    layout->addLayout(direita);
    resize(520, 420);

    std::vector<tarvex::materials::PontoMaterial> lidos;
    const tarvex::Status status = tarvex::materials::openMat(caminhoLocal(path), lidos);
    if (!status) {
        m_leituraFalhou = true;
        m_app.prompter().warn(
            core_texts::texto(status.message) + QLatin1Char('\n') + QDir::toNativeSeparators(path));
    }
    for (const tarvex::materials::PontoMaterial& p : lidos)
        m_pontos.push_back({ p, false, {}, {} });
    preencher(-1);
}

CDlgEditArqMat::~CDlgEditArqMat() = default;

CGraphDoc* CDlgEditArqMat::grafico() const
{
    return m_grafico;
}

std::string CDlgEditArqMat::linha(std::size_t indice) const
{
    const Ponto& p = m_pontos[indice];
    const int numero = static_cast<int>(indice + 1);
    return p.digitado ? tarvex::materials::linhaAtualizada(numero, p.campo, p.inducao)
                      : tarvex::materials::linhaPonto(numero, p.valor);
}

std::vector<std::string> CDlgEditArqMat::linhasDoArquivo() const
{
    std::vector<std::string> out;
    out.reserve(m_pontos.size());
    for (std::size_t i = 0; i < m_pontos.size(); ++i)
        out.push_back(linha(i));
    return out;
}

QStringList CDlgEditArqMat::linhas() const
{
    QStringList out;
    for (int i = 0; i < m_lista->topLevelItemCount(); ++i)
        out << m_lista->topLevelItem(i)->text(0);
    return out;
}

int CDlgEditArqMat::linhaSelecionada() const
{
    const QList<QTreeWidgetItem*> escolhidos = m_lista->selectedItems();
    return escolhidos.isEmpty() ? -1 : m_lista->indexOfTopLevelItem(escolhidos.first());
}

void CDlgEditArqMat::selecionarLinha(int linha)
{
    m_lista->clearSelection();
    if (QTreeWidgetItem* item = m_lista->topLevelItem(linha)) {
        item->setSelected(true);
        m_lista->setCurrentItem(item);
        m_lista->scrollToItem(item);
    }
}

void CDlgEditArqMat::preencher(int selecionar)
{
    // Numbers follow the position, so every row is made again.
    const QSignalBlocker bloqueio(m_lista);
    m_lista->clear();
    for (std::size_t i = 0; i < m_pontos.size(); ++i)
        m_lista->addTopLevelItem(new QTreeWidgetItem(QStringList { core_texts::texto(linha(i)) }));
    if (selecionar >= 0) {
        selecionarLinha(selecionar);
        linhaEscolhida();
    }
}

void CDlgEditArqMat::linhaEscolhida()
{
    const int escolhida = linhaSelecionada();
    if (escolhida < 0)
        return;
    std::string campo;
    std::string inducao;
    tarvex::materials::camposDaLinha(linha(std::size_t(escolhida)), campo, inducao);
    m_campo->setText(core_texts::texto(campo));
    m_inducao->setText(core_texts::texto(inducao));
}

bool CDlgEditArqMat::lerCampos(Ponto& ponto)
{
    const QString campo = m_campo->text().trimmed();
    const QString inducao = m_inducao->text().trimmed();
    if (!lerNumero(campo, ponto.valor.campo) || !lerNumero(inducao, ponto.valor.inducao)) {
        // A word in the file would make it unreadable.
        m_app.prompter().warn(QString::fromUtf8(TextoNaoNumero));
        return false;
    }
    ponto.campo = campo.toStdString();
    ponto.inducao = inducao.toStdString();
    return true;
}

void CDlgEditArqMat::inserir()
{
    Ponto novo;
    if (!lerCampos(novo))
        return;
    const int depois = linhaSelecionada();
    const std::size_t posicao = depois < 0 ? 0 : std::size_t(depois) + 1;
    m_pontos.insert(m_pontos.begin() + std::ptrdiff_t(posicao), novo);
    m_alterado = true;
    preencher(int(posicao));
}

void CDlgEditArqMat::atualizar()
{
    const int escolhida = linhaSelecionada();
    if (escolhida < 0)
        return;
    Ponto ponto;
    if (!lerCampos(ponto))
        return;
    ponto.digitado = true;
    m_pontos[std::size_t(escolhida)] = ponto;
    m_alterado = true;
    m_lista->topLevelItem(escolhida)->setText(0, core_texts::texto(linha(std::size_t(escolhida))));
}

void CDlgEditArqMat::remover()
{
    const int escolhida = linhaSelecionada();
    if (escolhida < 0)
        return;
    m_pontos.erase(m_pontos.begin() + escolhida);
    m_alterado = true;
    const int resto = int(m_pontos.size());
    preencher(resto == 0 ? -1 : std::min(escolhida, resto - 1));
}

void CDlgEditArqMat::mostrarGrafico()
{
    // The points as the file will hold them: the rows written and read back.
    std::istringstream texto(tarvex::materials::writeMatRows(linhasDoArquivo()));
    std::vector<tarvex::materials::PontoMaterial> pontos;
    (void)tarvex::materials::readMat(texto, pontos);
    m_grafico = m_app.mostrarGrafico(
        tarvex::graphs::graficoMaterial(pontos, m_eletrico), m_grafico.data());
}

bool CDlgEditArqMat::gravarEm(const QString& path)
{
    const tarvex::Status status
        = tarvex::materials::saveMatRows(caminhoLocal(path), linhasDoArquivo());
    if (!status) {
        m_app.prompter().warn(
            core_texts::texto(status.message) + QLatin1Char('\n') + QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

bool CDlgEditArqMat::gravar()
{
    if (!gravarEm(m_path))
        return false;
    m_gravou = true;
    m_leituraFalhou = false;
    return true;
}

bool CDlgEditArqMat::gravarComo()
{
    const QString escolhido = m_app.fileChooser().saveFile(this, MatFilter, MatSuffix, m_path);
    if (escolhido.isEmpty())
        return false;
    return gravarEm(escolhido);
}

void CDlgEditArqMat::fecharGraficoProprio()
{
    m_app.fecharGrafico(m_grafico.data());
    m_grafico = nullptr;
}

void CDlgEditArqMat::accept()
{
    // A file that could not be read is left as it is unless its points were edited here.
    const bool escrever = !m_leituraFalhou || m_alterado;
    if (escrever && !gravar())
        return; // stays open, so the points can still be written elsewhere
    fecharGraficoProprio();
    QDialog::accept();
}

void CDlgEditArqMat::reject()
{
    fecharGraficoProprio();
    QDialog::reject();
}
