#pragma once

#include <QFile>
#include <QTest>

// A file holding exactly bytes; fails the test when it cannot be written.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}
