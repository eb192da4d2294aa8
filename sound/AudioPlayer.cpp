#include "AudioPlayer.h"

#include <QFile>

QString soundFile(const QString &folder, const QString &name)
{
    const QString path = QStringLiteral("%1/%2.flac").arg(folder, name);
    return QFile::exists(path) ? path : QString();
}
