#pragma once

#include <QString>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

class CGraphDoc;
class AppServices;

/// The materials-file services that the region dialog and the application offer: the editor
/// "Edição de Arquivos de Materiais" and the plot of a materials file as a graph document.

/// Opens the editor (modal) on `path`, an existing materials file. True when OK wrote the file.
bool editarArquivoMaterial(AppServices& app, QWidget* parent, const QString& path, bool eletrico);

/// Plots the points of the materials file `path` as the single curve of a graph document, with
/// the titles of the analysis kind. When `existente` is an open graph document, its curve is
/// replaced and redrawn instead of opening a new one. Returns the document showing the plot
/// (an unreadable file plots as an empty curve).
CGraphDoc* plotarArquivoMaterial(
    AppServices& app, const QString& path, bool eletrico, CGraphDoc* existente = nullptr);
