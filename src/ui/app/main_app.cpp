#include "app/main_app.h"

#include "app/dlg_manual.h"
#include "app/dlg_sobre.h"
#include "app/main_frame.h"
#include "common/core_texts.h"
#include "common/file_chooser.h"
#include "common/messages.h"
#include "common/prompter.h"
#include "drawing/des_doc.h"
#include "drawing/des_frame.h"
#include "graphs/graph_doc.h"
#include "graphs/graph_frame.h"
#include "problem/dat_doc.h"
#include "problem/dat_frame.h"
#include "results/mesh_doc.h"
#include "results/mesh_frame.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSettings>
#include <QStyle>

#include <algorithm>

using core_texts::texto;

namespace {

const QString SettingsOrganization = QStringLiteral("Tarvex Lab");
const QString SettingsApplication = QStringLiteral("tarvex");
const QString RecentFilesKey = QStringLiteral("arquivosRecentes");
const char* const RecentActionProperty = "tarvexRecente";

/// "Abrir...": every type the program knows, then one entry per type.
const QString OpenFilter = QStringLiteral(
    "Todos arquivos tarvex (*.des *.dat *.msh *.dxf *.pre *.grp);;"
    "tarvex (*.des);;tarvex (*.dat);;tarvex (*.msh);;tarvex (*.dxf);;tarvex (*.pre);;"
    "tarvex (*.grp)");

/// Two spellings of the same file compare equal once resolved.
QString comparablePath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

QString DocumentTemplate::field(int index) const
{
    const QStringList fields = templateString.split(QLatin1Char('\n'));
    return index >= 0 && index < fields.size() ? fields.at(index) : QString();
}

CMainApp::CMainApp(Prompter& prompter, FileChooser& chooser, QObject* parent)
    : QObject(parent)
    , m_prompter(prompter)
    , m_chooser(chooser)
{
    // Dispatch takes the first match, so the order of this table is part of the behaviour.
    m_modelos = {
        { 129, DocumentKind::Drawing,
            QStringLiteral("\ndes\ndes\ntarvex Files (*.des)\n.des\ndes.Document\ndes Document") },
        { 130, DocumentKind::Drawing,
            QStringLiteral("\npre\npre\ntarvex Files (*.pre)\n.pre\npre.Document\npre Document") },
        { 135, DocumentKind::Drawing,
            QStringLiteral("\ndxf\ndxf\ntarvex Files (*.dxf)\n.dxf\ndxf.Document\ndxf Document") },
        { 134, DocumentKind::ProblemData,
            QStringLiteral("\ndat\ndat\ntarvex Files (*.dat)\n.dat\ndat.Document\ndat.Document") },
        { 131, DocumentKind::Results,
            QStringLiteral("\nmsh\nmsh\ntarvex Files (*.msh)\n.msh\nmsh.Document\nmsh Document") },
        { 133, DocumentKind::Graph,
            QStringLiteral("\ngrp\ngrp\ntarvex Files (*.grp)\n.grp\ngrp.Document\ngrp Document") },
    };
    criarAcoes();
}

CMainApp::~CMainApp() = default;

void CMainApp::criarAcoes()
{
    m_acaoNovo = new QAction(QStringLiteral("&Novo *.des"), this);
    m_acaoNovo->setShortcut(QKeySequence::New);
    m_acaoNovo->setIcon(QIcon::fromTheme(
        QStringLiteral("document-new"), QApplication::style()->standardIcon(QStyle::SP_FileIcon)));
    m_acaoNovo->setStatusTip(QStringLiteral("Cria um novo desenho"));
    connect(m_acaoNovo, &QAction::triggered, this, &CMainApp::novo);

    m_acaoAbrir = new QAction(QStringLiteral("&Abrir..."), this);
    m_acaoAbrir->setShortcut(QKeySequence::Open);
    m_acaoAbrir->setIcon(QIcon::fromTheme(QStringLiteral("document-open"),
        QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon)));
    m_acaoAbrir->setStatusTip(QStringLiteral("Abre um arquivo existente"));
    connect(m_acaoAbrir, &QAction::triggered, this, &CMainApp::abrir);

    m_acaoImpressora = new QAction(QStringLiteral("A&justar Impressora..."), this);
    connect(m_acaoImpressora, &QAction::triggered, this, &CMainApp::ajustarImpressora);

    m_acaoFim = new QAction(QStringLiteral("&Fim"), this);
    connect(m_acaoFim, &QAction::triggered, this, &CMainApp::sair);

    m_acaoSobre = new QAction(QStringLiteral("&Sobre o tarvex..."), this);
    m_acaoSobre->setIcon(QIcon::fromTheme(QStringLiteral("help-about"),
        QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation)));
    connect(m_acaoSobre, &QAction::triggered, this, &CMainApp::sobre);

    m_acaoManual = new QAction(QStringLiteral("&Manual do Usuário"), this);
    m_acaoManual->setShortcut(QKeySequence::HelpContents);
    connect(m_acaoManual, &QAction::triggered, this, &CMainApp::manual);

    for (int tipo = 0; tipo < ArrangementCount; ++tipo) {
        auto* acao = new QAction(QStringLiteral("Tipo %1").arg(tipo + 1), this);
        acao->setStatusTip(
            QStringLiteral("Arranjo típico de transformador (modelo %1)").arg(tipo + 1));
        connect(acao, &QAction::triggered, this, [this, tipo] { abrirArranjo(tipo); });
        m_acaoTipo.at(static_cast<std::size_t>(tipo)) = acao;
    }
}

bool CMainApp::iniciar()
{
    m_mainFrame = std::make_unique<CMainFrame>(*this);
    m_mainFrame->showMaximized();
    return true;
}

QPrinter& CMainApp::impressora()
{
    if (!m_impressora)
        m_impressora = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_impressora;
}

const DocumentTemplate* CMainApp::modeloPorNome(const QString& name) const
{
    const auto found = std::find_if(m_modelos.begin(), m_modelos.end(),
        [&](const DocumentTemplate& t) { return t.documentName() == name; });
    return found == m_modelos.end() ? nullptr : &*found;
}

CChildFrame* CMainApp::frameAberto(const QString& path) const
{
    if (!m_mainFrame || path.isEmpty())
        return nullptr;
    const QString wanted = comparablePath(path);
    for (CChildFrame* frame : m_mainFrame->filhos()) {
        if (!frame->documentPath().isEmpty() && comparablePath(frame->documentPath()) == wanted)
            return frame;
    }
    return nullptr;
}

/// Opens a problem, results or graph document in its own frame; a file that cannot be read warns
/// and creates nothing.
template <typename Doc, typename Frame> CChildFrame* CMainApp::abrirDocumento(const QString& path)
{
    auto doc = std::make_unique<Doc>();
    QString erro;
    if (!doc->open(path, erro)) {
        m_prompter.warn(erro + QLatin1Char('\n') + QDir::toNativeSeparators(path));
        return nullptr;
    }
    if (!m_mainFrame)
        return nullptr;
    adicionarRecente(path);
    auto* frame = new Frame(std::move(doc), *this);
    m_mainFrame->adicionarFilho(frame, tamanhoInicialFilho());
    return frame;
}

CChildFrame* CMainApp::abrirPorExtensao(const QString& path, const QString& extension)
{
    const DocumentTemplate* modelo = modeloPorNome(extension);
    if (!modelo || path.isEmpty())
        return nullptr;

    if (CChildFrame* aberto = frameAberto(path)) {
        m_mainFrame->ativar(aberto);
        return aberto;
    }

    const QString nomeArquivo = QDir::toNativeSeparators(path);
    if (modelo->kind == DocumentKind::ProblemData)
        return abrirDocumento<CDatDoc, CDatFrame>(path);
    if (modelo->kind == DocumentKind::Graph)
        return abrirDocumento<CGraphDoc, CGraphFrame>(path);
    if (modelo->kind == DocumentKind::Results)
        return abrirDocumento<CMeshDoc, CMeshFrame>(path);
    if (modelo->kind != DocumentKind::Drawing) {
        // These documents are not built yet: say so rather than show an empty window.
        m_prompter.warn(texto(tarvex::msg::UnknownFileType) + QLatin1Char('\n') + nomeArquivo);
        return nullptr;
    }

    auto doc = std::make_unique<CDesDoc>(modelo->documentName());
    QString erro;
    if (!doc->open(path, erro)) {
        m_prompter.warn(erro + QLatin1Char('\n') + nomeArquivo);
        return nullptr;
    }
    const QString aviso = doc->avisoImportacao();
    adicionarRecente(path);
    CDesFrame* frame = criarFrameDesenho(std::move(doc), CDesFrame::SemArranjo);
    // The drawing opens first, so the user sees what came in while reading what did not.
    if (frame && !aviso.isEmpty())
        m_prompter.inform(aviso + QLatin1Char('\n') + nomeArquivo);
    return frame;
}

CChildFrame* CMainApp::abrirGravado(const QString& path, const QString& extension)
{
    const QList<CChildFrame*> jaAbertos
        = m_mainFrame ? m_mainFrame->filhos() : QList<CChildFrame*>();
    CChildFrame* aberto = abrirPorExtensao(path, extension);
    if (!aberto || !jaAbertos.contains(aberto))
        return aberto;
    if (auto* problema = qobject_cast<CDatFrame*>(aberto))
        problema->recarregar();
    else if (auto* resultados = qobject_cast<CMeshFrame*>(aberto))
        resultados->recarregar();
    return aberto;
}

QString CMainApp::filtroDoTipo(const QString& name) const
{
    const DocumentTemplate* modelo = modeloPorNome(name);
    return modelo ? modelo->filterName() : QString();
}

QStringList CMainApp::arquivosParaAbrir(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addOption(QCommandLineOption(QStringLiteral("open")));
    parser.addPositionalArgument(QStringLiteral("arquivos"), QString());
    // Unknown options are told by main() before this; here they only cost their files.
    if (!parser.parse(arguments) || !parser.isSet(QStringLiteral("open")))
        return {};
    return parser.positionalArguments();
}

void CMainApp::abrirArquivos(const QStringList& paths)
{
    for (const QString& path : paths) {
        const QString absoluto = QFileInfo(path).absoluteFilePath();
        const QString extensao = QFileInfo(path).suffix();
        if (!modeloPorNome(extensao)) {
            m_prompter.warn(texto(tarvex::msg::TipoArquivoDesconhecido) + QLatin1Char('\n')
                + QDir::toNativeSeparators(absoluto));
            continue;
        }
        abrirPorExtensao(absoluto, extensao);
    }
}

CDesFrame* CMainApp::novoDesenho()
{
    return novoDesenho(CDesFrame::SemArranjo);
}

CDesFrame* CMainApp::novoDesenho(int tipoArranjo)
{
    const DocumentTemplate* modelo = modeloPorNome(QStringLiteral("des"));
    if (!modelo)
        return nullptr;
    auto doc = std::make_unique<CDesDoc>(modelo->documentName());
    doc->setUntitledNumber(m_proximoSemNome++);
    return criarFrameDesenho(std::move(doc), tipoArranjo);
}

CGraphDoc* CMainApp::abrirGrafico(const tarvex::graphs::GraphData& data)
{
    if (!modeloPorNome(QStringLiteral("grp")) || !m_mainFrame)
        return nullptr;
    auto doc = std::make_unique<CGraphDoc>(data);
    doc->setUntitledNumber(m_proximoGrafico++);
    CGraphDoc* grafico = doc.get();
    auto* frame = new CGraphFrame(std::move(doc), *this);
    m_mainFrame->adicionarFilho(frame, tamanhoInicialFilho());
    return grafico;
}

CGraphFrame* CMainApp::frameDoGrafico(const CGraphDoc* grafico) const
{
    if (!grafico || !m_mainFrame)
        return nullptr;
    // Compared by address only: a closed document's pointer is never read.
    for (CChildFrame* filho : m_mainFrame->filhos()) {
        auto* frame = qobject_cast<CGraphFrame*>(filho);
        if (frame && &frame->doc() == grafico)
            return frame;
    }
    return nullptr;
}

CGraphDoc* CMainApp::mostrarGrafico(const tarvex::graphs::GraphData& data, CGraphDoc* existente)
{
    if (CGraphFrame* frame = frameDoGrafico(existente)) {
        existente->setData(data);
        m_mainFrame->ativar(frame);
        return existente;
    }
    return abrirGrafico(data);
}

void CMainApp::fecharGrafico(const CGraphDoc* grafico)
{
    if (CGraphFrame* frame = frameDoGrafico(grafico))
        frame->fechar();
}

CDesFrame* CMainApp::abrirArranjo(int tipo)
{
    if (tipo < 0 || tipo >= ArrangementCount)
        return nullptr;
    return novoDesenho(tipo);
}

QSize CMainApp::tamanhoInicialFilho() const
{
    QSize area(800, 600);
    if (m_mainFrame)
        area = m_mainFrame->mdiArea()->viewport()->size();
    return QSize(std::max(area.width() * 3 / 4, 480), std::max(area.height() * 3 / 4, 360));
}

CDesFrame* CMainApp::criarFrameDesenho(std::unique_ptr<CDesDoc> doc, int tipoArranjo)
{
    if (!m_mainFrame)
        return nullptr;
    const QSize tamanho = tamanhoInicialFilho();
    auto* frame = new CDesFrame(std::move(doc), *this, tamanho, tipoArranjo);
    m_mainFrame->adicionarFilho(frame, tamanho);
    return frame;
}

void CMainApp::novo()
{
    novoDesenho();
}

void CMainApp::abrir()
{
    const QString path
        = m_chooser.openFile(m_mainFrame.get(), OpenFilter, QStringLiteral("msh"), false);
    // Cancel gives an empty path, hence an empty extension, which matches no template.
    abrirPorExtensao(path, QFileInfo(path).suffix());
}

void CMainApp::ajustarImpressora()
{
    QPageSetupDialog dialog(&impressora(), m_mainFrame.get());
    dialog.exec();
}

void CMainApp::sair()
{
    if (m_mainFrame)
        m_mainFrame->close();
}

void CMainApp::sobre()
{
    CDlgSobre dialog(m_mainFrame.get());
    dialog.exec();
}

void CMainApp::manual()
{
    const QString indice = CDlgManual::localizarManual();
    if (indice.isEmpty()) {
        m_prompter.warn(texto(tarvex::msg::ManualNaoEncontrado));
        return;
    }
    // One guide window: a second command brings it forward.
    if (!m_manual) {
        m_manual = new CDlgManual(indice, m_mainFrame.get());
        m_manual->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_manual->show();
    m_manual->raise();
    m_manual->activateWindow();
}

QStringList CMainApp::arquivosRecentes() const
{
    QSettings settings(SettingsOrganization, SettingsApplication);
    QStringList lista = settings.value(RecentFilesKey).toStringList();
    lista.removeAll(QString());
    while (lista.size() > RecentFileCount)
        lista.removeLast();
    return lista;
}

void CMainApp::adicionarRecente(const QString& path)
{
    const QString absoluto = QFileInfo(path).absoluteFilePath();
    QStringList lista = arquivosRecentes();
    lista.erase(
        std::remove_if(lista.begin(), lista.end(),
            [&](const QString& p) { return comparablePath(p) == comparablePath(absoluto); }),
        lista.end());
    lista.prepend(absoluto);
    while (lista.size() > RecentFileCount)
        lista.removeLast();
    QSettings(SettingsOrganization, SettingsApplication).setValue(RecentFilesKey, lista);
}

void CMainApp::removerRecente(const QString& path)
{
    QStringList lista = arquivosRecentes();
    lista.removeAll(path);
    QSettings(SettingsOrganization, SettingsApplication).setValue(RecentFilesKey, lista);
}

void CMainApp::listarRecentes(QMenu* menu, QAction* before)
{
    connect(menu, &QMenu::aboutToShow, menu, [this, menu, before] {
        for (QAction* acao : menu->actions()) {
            if (acao->property(RecentActionProperty).toBool()) {
                menu->removeAction(acao);
                acao->deleteLater();
            }
        }
        const QStringList lista = arquivosRecentes();
        if (lista.isEmpty()) {
            auto* vazio = new QAction(QStringLiteral("Arquivo Recente"), menu);
            vazio->setEnabled(false);
            vazio->setProperty(RecentActionProperty, true);
            menu->insertAction(before, vazio);
            return;
        }
        for (int i = 0; i < lista.size(); ++i) {
            const QString path = lista.at(i);
            QString nome = QDir::toNativeSeparators(path);
            nome.replace(QLatin1Char('&'), QStringLiteral("&&"));
            auto* acao = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(nome), menu);
            acao->setProperty(RecentActionProperty, true);
            connect(acao, &QAction::triggered, this, [this, path] {
                // A file that cannot be opened any more leaves the list.
                if (!abrirPorExtensao(path, QFileInfo(path).suffix()))
                    removerRecente(path);
            });
            menu->insertAction(before, acao);
        }
    });
}
