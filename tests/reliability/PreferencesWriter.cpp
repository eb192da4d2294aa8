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
    if (argc != 4)
        return 2;
    SettingsPreferences preferences(QString::fromLocal8Bit(argv[1]));
    for (int index = 1; index <= atoi(argv[3]); ++index) {
        preferences.writeText(QString::fromLatin1(GameStore::customWordsKey),
                              editText(atoi(argv[2]), index));
        // Unbuffered, so that the parent knows exactly which writes finished.
        const QByteArray line = QByteArray::number(index) + '\n';
        if (write(STDOUT_FILENO, line.constData(), size_t(line.size())) != line.size())
            return 1;
    }
    return 0;
}
