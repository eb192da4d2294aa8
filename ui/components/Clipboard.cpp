#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

QString Clipboard::text() const
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text() : QString();
}
