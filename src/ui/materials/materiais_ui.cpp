#include "materials/materiais_ui.h"

#include "common/app_services.h"
#include "common/core_texts.h"
#include "common/file_chooser.h"
#include "common/prompter.h"
#include "graphs/material_graph.h"
#include "materials/dlg_edit_arq_mat.h"
#include "materials/mat_io.h"
#include "materials/materiais_comandos.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString MatFilter = QStringLiteral("Arquivos (*.mat)");
const QString MatSuffix = QStringLiteral("mat");

} // namespace

bool editarArquivoMaterial(AppServices& app, QWidget* parent, const QString& path, bool eletrico)
{
    CDlgEditArqMat dialogo(app, path, eletrico, parent);
    return dialogo.exec() == QDialog::Accepted && dialogo.gravou();
}

CGraphDoc* plotarArquivoMaterial(
    AppServices& app, const QString& path, bool eletrico, CGraphDoc* existente)
{
    tarvex::graphs::GraphData data;
    // A file that cannot be read plots as an empty curve, with the titles of its kind.
    (void)tarvex::graphs::graficoArquivoMaterial(caminhoLocal(path), eletrico, data);
    return app.mostrarGrafico(data, existente);
}

void editarArquivoMaterialDoMenu(AppServices& app, QWidget* parent)
{
    const QString escolhido = app.fileChooser().openFile(parent, MatFilter, MatSuffix, false);
    if (escolhido.isEmpty())
        return;
    QString nome = caminhoQt(tarvex::materials::arquivoMaterialExistente(caminhoLocal(escolhido)));
    if (!QFileInfo::exists(nome)) {
        // Only the file's own name is lowered: the folders the dialog chose keep their spelling.
        const QFileInfo info(escolhido);
        nome = info.dir().filePath(
            caminhoQt(tarvex::materials::nomeArquivoMaterial(caminhoLocal(info.fileName()))));
    }
    if (!QFileInfo::exists(nome)) {
        const std::string pergunta = tarvex::materials::perguntaCriaArquivo(caminhoLocal(nome));
        if (app.prompter().ask(core_texts::texto(pergunta)) != Prompter::YesNo::Yes)
            return;
        const tarvex::Status status = tarvex::materials::criaArquivoMaterial(caminhoLocal(nome));
        if (!status) {
            app.prompter().warn(
                textoDoStatus(status) + QLatin1Char('\n') + QDir::toNativeSeparators(nome));
            return;
        }
    }
    editarArquivoMaterial(app, parent, nome, false);
}
