#pragma once

#include <QDialog>
#include <QString>

QT_BEGIN_NAMESPACE
class QTextBrowser;
QT_END_NAMESPACE

/// "&Manual do Usuário": the HTML guide shipped with the program, in a window of its own that
/// stays open beside the documents.
class CDlgManual : public QDialog {
    Q_OBJECT
public:
    explicit CDlgManual(const QString& indice, QWidget* parent = nullptr);

    /// The manual's first page: installed beside the program (../share/doc/tarvex/manual), or in
    /// the build tree; empty when neither is there.
    static QString localizarManual();

    QTextBrowser* navegador() const { return m_navegador; }

private:
    QTextBrowser* m_navegador = nullptr;
};
