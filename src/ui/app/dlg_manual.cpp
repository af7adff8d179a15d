#include "app/dlg_manual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

CDlgManual::CDlgManual(const QString& indice, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Manual do Usuário"));
    m_navegador = new QTextBrowser(this);
    m_navegador->setOpenExternalLinks(true);
    m_navegador->setSource(QUrl::fromLocalFile(indice));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_navegador);
    resize(820, 640);
}

QString CDlgManual::localizarManual()
{
    const QString programa = QCoreApplication::applicationDirPath();
    QStringList candidatos { QDir(programa).filePath(
        QStringLiteral("../share/doc/tarvex/manual/index.html")) };
#ifdef TARVEX_MANUAL_BUILD_DIR
    candidatos << QStringLiteral(TARVEX_MANUAL_BUILD_DIR "/index.html");
#endif
    for (const QString& candidato : candidatos) {
        if (QFileInfo::exists(candidato))
            return QFileInfo(candidato).canonicalFilePath();
    }
    return {};
}
