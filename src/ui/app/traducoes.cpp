#include "app/traducoes.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool instalarTraducoesQt(QCoreApplication& application)
{
    // The program's own texts are Portuguese whatever the user's locale, so Qt's must be too.
    // The default locale stays as it is: numbers are always typed with a decimal point.
    auto* traducao = new QTranslator(&application);
    const QLocale portugues(QLocale::Portuguese, QLocale::Brazil);
    if (!traducao->load(portugues, QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traducao;
        return false;
    }
    return QCoreApplication::installTranslator(traducao);
}
