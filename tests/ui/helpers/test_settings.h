#pragma once

#include <QSettings>
#include <QString>

/// Points the user's settings (and HOME) at `folder`, so a test run never reads or writes the
/// real recent-file list. Call before anything creates a QSettings.
inline void isolateUserSettings(const QString& folder)
{
    qputenv("HOME", folder.toLocal8Bit());
    const QString config = folder + QStringLiteral("/config");
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
}
