#include "common/child_frame.h"

#include "common/app_services.h"
#include "common/base_view.h"
#include "common/core_texts.h"
#include "common/file_chooser.h"
#include "common/prompter.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

void CChildFrame::mostrarMensagem(const QString& texto)
{
    m_mensagem->setText(texto);
}

bool CChildFrame::gravar()
{
    const QString path = documentPath();
    return path.isEmpty() ? gravarComo() : gravarEm(path);
}

bool CChildFrame::gravarComo()
{
    const QString escolhido = escolherNomeGravacao();
    return !escolhido.isEmpty() && gravarEm(escolhido);
}

QAction* CChildFrame::novaAcao(const QString& texto)
{
    auto* acao = new QAction(texto, this);
    // Every frame of a kind has the same commands; they act on the frame that has the focus.
    acao->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(acao);
    return acao;
}

void CChildFrame::criarPaineisEstado(int larguraPosicao)
{
    m_mensagem = new QLabel(QStringLiteral("Pronto"));
    m_posicao = new QLabel;
    m_posicao->setFixedWidth(larguraPosicao);
    statusBar()->addWidget(m_mensagem, 1);
    statusBar()->addPermanentWidget(m_posicao);
}

QToolBar* CChildFrame::criarBarra(const QString& titulo, const QString& nome)
{
    auto* barra = new QToolBar(titulo, this);
    barra->setObjectName(nome);
    barra->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, barra);
    return barra;
}

QAction* CChildFrame::novaAcaoImprimir(const QString& texto, CBaseView* view)
{
    QAction* acao = novaAcao(texto);
    acao->setShortcut(QKeySequence::Print);
    connect(acao, &QAction::triggered, view, &CBaseView::imprimir);
    return acao;
}

QAction* CChildFrame::novaAcaoVisualizar(const QString& texto, CBaseView* view)
{
    QAction* acao = novaAcao(texto);
    connect(acao, &QAction::triggered, view, &CBaseView::visualizarImpressao);
    return acao;
}

QAction* CChildFrame::novaAcaoExportarImagem(CBaseView* view, AppServices& app)
{
    QAction* acao = novaAcao(QStringLiteral("Exportar imagem..."));
    connect(acao, &QAction::triggered, this, [this, view, &app] { exportarImagem(view, app); });
    return acao;
}

bool CChildFrame::exportarImagem(CBaseView* view, AppServices& app)
{
    QString proposto = documentPath();
    if (!proposto.isEmpty()) {
        const QFileInfo info(proposto);
        proposto = info.dir().filePath(info.completeBaseName() + QStringLiteral(".png"));
    }
    const QString escolhido = app.fileChooser().saveFile(this,
        QStringLiteral("Imagens (*.png *.svg *.pdf);;PNG (*.png);;SVG (*.svg);;PDF (*.pdf)"),
        QStringLiteral("png"), proposto);
    if (escolhido.isEmpty())
        return false;
    if (const tarvex::Status s = view->exportarImagem(escolhido); !s) {
        avisarFalha(app.prompter(), core_texts::texto(s.message), escolhido);
        return false;
    }
    return true;
}

CChildFrame::ComandosDocumento CChildFrame::criarComandosDocumento(CBaseView* view)
{
    ComandosDocumento comandos;
    comandos.gravar = novaAcao(QStringLiteral("&Gravar"));
    comandos.gravar->setShortcut(QKeySequence::Save);
    comandos.gravar->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    connect(comandos.gravar, &QAction::triggered, this, &CChildFrame::gravar);
    comandos.gravarComo = novaAcao(QStringLiteral("Gravar &Como..."));
    connect(comandos.gravarComo, &QAction::triggered, this, &CChildFrame::gravarComo);
    comandos.imprimir = novaAcaoImprimir(QStringLiteral("&Imprimir..."), view);
    comandos.visualizar = novaAcaoVisualizar(QStringLiteral("&Visualizar Impressão..."), view);
    return comandos;
}

QMenu* CChildFrame::criarMenuArquivosDocumento(AppServices& app, const QList<QAction*>& inicio,
    const ComandosDocumento& comandos, const QList<QAction*>& exportacoes, CBaseView* view)
{
    QMenu* arquivos = criarMenuArquivos(app);
    arquivos->addActions(inicio);
    arquivos->addSeparator();
    arquivos->addAction(comandos.gravar);
    arquivos->addAction(comandos.gravarComo);
    arquivos->addActions(exportacoes);
    arquivos->addAction(novaAcaoExportarImagem(view, app));
    terminarMenuArquivos(arquivos, app, comandos.imprimir, comandos.visualizar);
    return arquivos;
}

QMenu* CChildFrame::criarMenuArquivos(SharedCommands& app)
{
    auto* arquivos = new QMenu(QStringLiteral("&Arquivos"), this);
    arquivos->addAction(app.acaoNovo());
    arquivos->addAction(app.acaoAbrir());
    return arquivos;
}

void CChildFrame::terminarMenuArquivos(
    QMenu* arquivos, SharedCommands& app, QAction* imprimir, QAction* visualizar)
{
    arquivos->addSeparator();
    arquivos->addAction(imprimir);
    arquivos->addAction(visualizar);
    arquivos->addAction(app.acaoAjustarImpressora());
    arquivos->addSeparator();
    QAction* antesDoFim = arquivos->addSeparator();
    arquivos->addAction(app.acaoFim());
    app.listarRecentes(arquivos, antesDoFim);
}

QMenu* CChildFrame::criarMenuAjuda(SharedCommands& app)
{
    auto* ajuda = new QMenu(QStringLiteral("A&juda"), this);
    ajuda->addAction(app.acaoManual());
    ajuda->addAction(app.acaoSobre());
    return ajuda;
}

CChildFrame::ComandosExibir CChildFrame::criarComandosExibir()
{
    ComandosExibir comandos;
    comandos.zoom = novaAcao(QStringLiteral("&Zoom"));
    comandos.normal = novaAcao(QStringLiteral("&Normal"));
    comandos.manual = novaAcao(QStringLiteral("&Ajuste Manual"));
    comandos.redesenhar = novaAcao(QStringLiteral("&Redesenhar"));
    comandos.todas = novaAcao(QStringLiteral("Atualizar Todas"));
    return comandos;
}

QMenu* CChildFrame::criarMenuExibir(const ComandosExibir& comandos, QToolBar* barra)
{
    QAction* barraAcao = barra->toggleViewAction();
    barraAcao->setText(QStringLiteral("B&arra de Menus"));

    auto* exibir = new QMenu(QStringLiteral("&Exibir"), this);
    exibir->addAction(comandos.zoom);
    exibir->addAction(comandos.normal);
    exibir->addAction(comandos.manual);
    exibir->addSeparator();
    exibir->addAction(comandos.redesenhar);
    exibir->addAction(comandos.todas);
    exibir->addSeparator();
    exibir->addAction(barraAcao);
    return exibir;
}

void CChildFrame::preencherBarra(QToolBar* barra, SharedCommands& app, QAction* gravar,
    QAction* imprimir, const ComandosExibir& comandos)
{
    barra->addAction(app.acaoNovo());
    barra->addAction(app.acaoAbrir());
    barra->addAction(gravar);
    barra->addSeparator();
    barra->addAction(imprimir);
    barra->addSeparator();
    barra->addAction(comandos.zoom);
    barra->addAction(comandos.normal);
    barra->addAction(comandos.redesenhar);
    barra->addSeparator();
    barra->addAction(app.acaoSobre());
}

void CChildFrame::fecharJanela()
{
    QWidget* janela = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!janela)
        janela = this;
    janela->close();
}

void CChildFrame::avisarFalha(Prompter& prompter, const QString& erro, const QString& path)
{
    prompter.warn(erro + QLatin1Char('\n') + QDir::toNativeSeparators(path));
}

bool CChildFrame::concluirGravacao(AppServices& app, bool gravou, const QString& erro,
    const QString& path, const QString& caminhoDocumento, const QString& titulo)
{
    if (!gravou) {
        avisarFalha(app.prompter(), erro, path);
        return false;
    }
    app.adicionarRecente(caminhoDocumento);
    setWindowTitle(titulo);
    return true;
}

bool CChildFrame::podeFecharDocumento(
    Prompter& prompter, bool modificado, const QString& titulo, const std::function<bool()>& gravar)
{
    if (!modificado)
        return true;
    switch (prompter.askToSave(titulo)) {
    case Prompter::Answer::Save:
        return gravar();
    case Prompter::Answer::Discard:
        return true;
    case Prompter::Answer::Cancel:
        return false;
    }
    return false;
}
