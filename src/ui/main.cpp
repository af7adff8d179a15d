#include "app/main_app.h"
#include "app/traducoes.h"
#include "common/file_chooser.h"
#include "common/message_box_prompter.h"

#include <QApplication>
#include <QCommandLineParser>

#include <clocale>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The files and their texts always use a decimal point, whatever the user's locale; Qt has
    // just set the C library's locale from the environment.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("tarvex"));
    QApplication::setOrganizationName(QStringLiteral("Tarvex Lab"));
    QApplication::setApplicationVersion(QStringLiteral(TARVEX_VERSION));
    instalarTraducoesQt(application);

    // Files on the command line open only after --open (as the desktop entry passes them): the
    // bare command line still starts the program with no document.
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Cálculo de campos elétricos e magnéticos por elementos finitos"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        QStringLiteral("open"), QStringLiteral("Abre os arquivos dados, como \"Abrir...\".")));
    parser.addPositionalArgument(QStringLiteral("arquivos"),
        QStringLiteral("Arquivos .des, .pre, .dxf, .dat, .msh ou .grp."),
        QStringLiteral("[--open arquivos...]"));
    parser.process(application);

    MessageBoxPrompter prompter;
    DialogFileChooser chooser;
    CMainApp app(prompter, chooser);
    if (!app.iniciar())
        return 1;
    app.abrirArquivos(CMainApp::arquivosParaAbrir(QApplication::arguments()));
    return QApplication::exec();
}
