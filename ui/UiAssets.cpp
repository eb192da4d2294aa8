#include "UiAssets.h"

#include <QDir>
#include <QFontDatabase>
#include <QtQml/qqmlextensionplugin.h>

// The components module is a static library; its plugin registers the C++ types.
Q_IMPORT_QML_PLUGIN(TarvukeGlimp_ComponentsPlugin)

QStringList UiAssets::fontFiles()
{
    QStringList files;
    const QDir fonts(QStringLiteral(":/fonts"));
    for (const QString &name : fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files, QDir::Name))
        files.append(fonts.filePath(name));
    return files;
}

bool UiAssets::install()
{
    static const bool installed = [] {
        const QStringList files = fontFiles();
        bool ok = !files.isEmpty();
        for (const QString &file : files)
            ok = QFontDatabase::addApplicationFont(file) >= 0 && ok;
        return ok;
    }();
    return installed;
}
