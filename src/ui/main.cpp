#include "app/main_app.h"
#include "common/file_chooser.h"
#include "common/message_box_prompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <clocale>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The files and their texts always use a decimal point, whatever the user's locale; Qt has
    // just set the C library's locale from the environment.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("tarvex"));
    QApplication::setOrganizationName(QStringLiteral("Tarvex Lab"));
    QApplication::setApplicationVersion(QStringLiteral("1.8"));

    // The command line is read but deliberately not acted on: the program starts with no
    // document.
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("arquivos"), QStringLiteral("Ignorados."));
    parser.parse(QApplication::arguments());

    MessageBoxPrompter prompter;
    DialogFileChooser chooser;
    CMainApp app(prompter, chooser);
    if (!app.iniciar())
        return 1;
    // Scripts that prepare a document for the user (the demonstration) name it here; the
    // command line itself stays without effect.
    const QString abrir = qEnvironmentVariable("TARVEX_ABRIR");
    for (const QString& path : abrir.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        app.abrirPorExtensao(path, QFileInfo(path).suffix());
    return QApplication::exec();
}
