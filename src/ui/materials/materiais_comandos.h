#pragma once

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

class AppServices;

/**
 * "Editar Arquivo de Materiais..." of the main window: a file dialog for a materials file, then
 * the rules of the region dialog's "Editar": the name completed with ".mat"; for a file that does
 * not exist, the question whether to create it (No ends the command, Yes creates a new file with
 * the point (0, 0)); then the editor, for a magnetic material.
 */
void editarArquivoMaterialDoMenu(AppServices& app, QWidget* parent);
