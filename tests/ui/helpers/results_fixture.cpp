#include "helpers/results_fixture.h"

#include "app/main_app.h"
#include "common/core_texts.h"
#include "helpers/test_settings.h"
#include "results/mesh_doc.h"
#include "results/mesh_frame.h"
#include "results/mesh_view.h"

#include <QAction>
#include <QCoreApplication>
#include <QtTest>

ScriptedProgramTest::~ScriptedProgramTest() = default;

bool ScriptedProgramTest::prepararPasta()
{
    if (!m_dir.isValid())
        return false;
    isolateUserSettings(m_dir.filePath(QStringLiteral("home")));
    return true;
}

bool ScriptedProgramTest::iniciarPrograma()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_chooser = std::make_unique<ScriptedFileChooser>();
    m_app = std::make_unique<CMainApp>(*m_prompter, *m_chooser);
    m_dialogs.clear();
    return m_app->iniciar();
}

void ScriptedProgramTest::fecharPrograma()
{
    m_app.reset();
    flushDeletes();
}

void ScriptedProgramTest::flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString ScriptedProgramTest::text(std::string_view s)
{
    return core_texts::texto(s);
}

bool ResultsWindowTest::abrirResultados(const QString& path, int largura, int altura)
{
    m_frame = qobject_cast<CMeshFrame*>(m_app->abrirPorExtensao(path, QStringLiteral("msh")));
    if (!m_frame)
        return false;
    view().setExecutorDialogos([this](QDialog& d) { return m_dialogs.run(d); });
    if (largura > 0 && altura > 0)
        view().resize(largura, altura);
    return true;
}

void ResultsWindowTest::encerrarPrograma()
{
    if (m_frame)
        m_frame->doc().setModified(false);
    m_frame = nullptr;
    fecharPrograma();
}

void ResultsWindowTest::trigger(const QString& menuText)
{
    QAction* action = m_frame->acao(menuText);
    QVERIFY2(action, qPrintable(menuText));
    action->trigger();
}

CMeshView& ResultsWindowTest::view()
{
    return *m_frame->view();
}
