#include "graphs/graph_frame.h"

#include "common/app_services.h"
#include "common/core_texts.h"
#include "common/file_chooser.h"
#include "common/prompter.h"
#include "graphs/graph_doc.h"
#include "graphs/graph_view.h"
#include "graphs/grp_io.h"
#include "graphs/harmonics.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStyle>

namespace {

const QString GrpFilter = QStringLiteral("tarvex Files (*.grp)");
const QString GrpSuffix = QStringLiteral("grp");
const QString AscFilter = QStringLiteral("Arquivos (*.asc)");
const QString AscSuffix = QStringLiteral("asc");

QString menuText(tarvex::graphs::HarmonicMode mode)
{
    return core_texts::texto(tarvex::graphs::harmonicMenuText(mode));
}

} // namespace

CGraphFrame::CGraphFrame(std::unique_ptr<CGraphDoc> doc, AppServices& app, QWidget* parent)
    : CChildFrame(parent)
    , m_doc(std::move(doc))
    , m_app(app)
{
    m_view = new CGraphView(*m_doc, m_app.prompter());
    setCentralWidget(m_view);

    criarPaineisEstado(LarguraPosicao);
    connect(m_view, &CGraphView::posicaoAlterada, painelPosicao(), &QLabel::setText);

    criarMenus();
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    atualizarTitulo();
}

CGraphFrame::~CGraphFrame()
{
    // The view refers to the document, so it goes first.
    delete takeCentralWidget();
}

QString CGraphFrame::documentPath() const
{
    return m_doc->path();
}

void CGraphFrame::criarMenus()
{
    QAction* fecharAcao = novaAcao(QStringLiteral("&Fechar"));
    connect(fecharAcao, &QAction::triggered, this, &CGraphFrame::fechar);
    QAction* gravarAcao = novaAcao(QStringLiteral("&Gravar ."));
    gravarAcao->setShortcut(QKeySequence::Save);
    connect(gravarAcao, &QAction::triggered, this, &CGraphFrame::gravar);
    QAction* gravarComoAcao = novaAcao(QStringLiteral("Gravar &Como ..."));
    connect(gravarComoAcao, &QAction::triggered, this, &CGraphFrame::gravarComo);
    QAction* exportarAcao = novaAcao(QStringLiteral("&Exportar ASCII"));
    connect(exportarAcao, &QAction::triggered, this, &CGraphFrame::exportarAscii);
    QAction* imprimirAcao = novaAcaoImprimir(QStringLiteral("&Imprimir"), m_view);
    QAction* visualizarAcao = novaAcaoVisualizar(QStringLiteral("&Visualizar Impressao"), m_view);

    QMenu* arquivos = criarMenuArquivos(m_app);
    arquivos->addAction(fecharAcao);
    arquivos->addSeparator();
    arquivos->addAction(gravarAcao);
    arquivos->addAction(gravarComoAcao);
    arquivos->addAction(exportarAcao);
    arquivos->addAction(novaAcaoExportarImagem(m_view, m_app));
    terminarMenuArquivos(arquivos, m_app, imprimirAcao, visualizarAcao);

    QAction* ativarAcao = novaAcao(QStringLiteral("&Ativar/Desativar"));
    connect(ativarAcao, &QAction::triggered, m_view, &CGraphView::ativarDesativar);
    QAction* eixosAcao = novaAcao(QStringLiteral("Ajustar &Eixos"));
    connect(eixosAcao, &QAction::triggered, m_view, &CGraphView::ajustarEixos);
    for (int modo = 0; modo < ModosHarmonicos; ++modo) {
        tarvex::graphs::HarmonicMode mode {};
        (void)tarvex::graphs::harmonicModeFromNumber(modo, mode);
        QAction* acao = novaAcao(menuText(mode));
        connect(
            acao, &QAction::triggered, m_view, [this, modo] { m_view->analiseHarmonica(modo); });
        m_harmonicas.at(std::size_t(modo)) = acao;
    }

    auto* grafico = new QMenu(QStringLiteral("&Gráfico"), this);
    grafico->addAction(ativarAcao);
    grafico->addAction(eixosAcao);
    grafico->addSeparator();
    QMenu* harmonica = grafico->addMenu(QStringLiteral("Análise &Harmônica"));
    harmonica->addAction(m_harmonicas[0]);
    QMenu* meio = harmonica->addMenu(QStringLiteral("&Meio Período"));
    meio->addAction(m_harmonicas[1]);
    meio->addAction(m_harmonicas[2]);
    meio->addAction(m_harmonicas[3]);
    QMenu* quarto = harmonica->addMenu(QStringLiteral("&Quarto de Período"));
    quarto->addAction(m_harmonicas[4]);
    quarto->addAction(m_harmonicas[5]);

    m_menus = { arquivos, grafico, criarMenuAjuda(m_app) };
}

void CGraphFrame::atualizarTitulo()
{
    setWindowTitle(m_doc->title());
}

void CGraphFrame::fechar()
{
    fecharJanela();
}

QString CGraphFrame::escolherNomeGravacao()
{
    const QString proposto = m_doc->path().isEmpty() ? m_doc->title() : m_doc->path();
    return m_app.fileChooser().saveFile(this, GrpFilter, GrpSuffix, proposto);
}

bool CGraphFrame::gravarEm(const QString& path)
{
    QString erro;
    const bool gravou = m_doc->save(path, erro);
    return concluirGravacao(m_app, gravou, erro, path, m_doc->path(), m_doc->title());
}

bool CGraphFrame::exportarAscii()
{
    const QString nome = m_doc->path().isEmpty() ? m_doc->title() : m_doc->path();
    const QString proposto = caminhoQt(tarvex::graphs::ascNomeSugerido(caminhoLocal(nome)));
    const QString escolhido = m_app.fileChooser().saveFile(this, AscFilter, AscSuffix, proposto);
    if (escolhido.isEmpty())
        return false;
    const QString destino = caminhoQt(tarvex::graphs::ascNomeFinal(caminhoLocal(escolhido)));
    QString erro;
    if (!m_doc->exportAsc(destino, erro)) {
        avisarFalha(m_app.prompter(), erro, destino);
        return false;
    }
    return true;
}
