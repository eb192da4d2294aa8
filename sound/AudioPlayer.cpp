#include "AudioPlayer.h"

#include <QFile>

QString soundFile(const QString &folder, const QString &name)
{
    const QString path = QStringLiteral("%1/%2.m4a").arg(folder, name);
    return QFile::exists(path) ? path : QString();
}
