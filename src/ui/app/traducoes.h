#pragma once

#include <QtGlobal>

QT_BEGIN_NAMESPACE
class QCoreApplication;
QT_END_NAMESPACE

/// Installs Qt's own Brazilian-Portuguese texts (file dialogs, Yes/No/Cancel, page set-up, print
/// preview) into `application`, so the framework's dialogs speak the program's language. False
/// when the translation files are not installed; the program then runs with Qt's English texts.
bool instalarTraducoesQt(QCoreApplication& application);
