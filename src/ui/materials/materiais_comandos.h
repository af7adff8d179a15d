#pragma once

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace tarvex::graphs {
struct GraphData;
}

class CGraphDoc;
class CMainApp;

/// Shows `data` in the graph document `existente` when it is still open (its curve replaced and
/// redrawn), otherwise in a new graph document made from the application's pending graph.
CGraphDoc* mostrarGraficoMaterial(
    CMainApp& app, const tarvex::graphs::GraphData& data, CGraphDoc* existente);

/**
 * "Editar Arquivo de Materiais..." of the main window: a file dialog for a materials file, then
 * the rules of the region dialog's "Editar": the name completed with ".mat"; for a file that does
 * not exist, the question whether to create it (No ends the command, Yes creates a new file with
 * the point (0, 0)); then the editor, for a magnetic material.
 */
void editarArquivoMaterialDoMenu(CMainApp& app, QWidget* parent);
