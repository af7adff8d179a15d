#pragma once

#include <QLineEdit>
#include <QLocale>
#include <QString>

#include <cmath>

/// Reading and showing the numbers of the dialogs' edit fields, the same way in every dialog.
namespace campos_numericos {

/// A number as typed: the C form, or with a decimal comma as users here often type it.
inline bool lerNumero(const QLineEdit* campo, double& out)
{
    QString texto = campo->text().trimmed();
    if (texto.count(QLatin1Char(',')) == 1 && !texto.contains(QLatin1Char('.')))
        texto.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double valor = QLocale::c().toDouble(texto, &ok);
    if (!ok || !std::isfinite(valor))
        return false;
    out = valor;
    return true;
}

/// Enough digits that a value shown and read back is the same.
inline QString mostrar(double valor)
{
    return QString::number(valor, 'g', 15);
}

} // namespace campos_numericos
