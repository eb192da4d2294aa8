// Stores the edits of one run through the real preferences, one after another, and reports
// each finished write on stdout, until done or killed.
//   preferences-writer FILE RUN EDITS
#include "EditTexts.h"
#include "GameStore.h"
#include "SettingsPreferences.h"

#include <QCoreApplication>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() != 4)
        return 2;
    SettingsPreferences preferences(args.at(1));
    const int run = args.at(2).toInt();
    const int edits = args.at(3).toInt();
    for (int index = 1; index <= edits; ++index) {
        preferences.writeText(QString::fromLatin1(GameStore::customWordsKey), editText(run, index));
        const QByteArray line = QByteArray::number(index) + '\n';
        // Unbuffered, so that the parent knows exactly which writes finished.
        if (write(STDOUT_FILENO, line.constData(), size_t(line.size())) != line.size())
            return 1;
    }
    return 0;
}
