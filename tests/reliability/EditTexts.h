#pragma once

#include <QStringList>
#include <random>

// Edit index of run run, as the preferences writer stores it: a line naming both, then now
// and then a large paste or nothing at all (the list cleared), and otherwise what INI files
// and QSettings treat specially.
inline QString editText(int run, int index)
{
    if (index % 97 == 41)
        return {};
    static const QStringList pieces{
        u"ёжик"_qs, u"воздушный  шар"_qs, u" Ёлка "_qs, u"\r\n"_qs, u"\n\n"_qs, u"\u2028"_qs,
        u"😀👨‍👩‍👧"_qs, u"שרה"_qs, u"a=b"_qs, u"; не комментарий"_qs, u"# и это"_qs,
        u"[General]"_qs, u"@ByteArray(x)"_qs, u"@Variant(\\0)"_qs, u"\"кавычки\""_qs,
        u"\\n\\\\"_qs, u"%25 %"_qs, u"e\u0301"_qs, u"\t"_qs, QString(QChar(u'\0'))};
    std::mt19937 rng(quint32(run) * 100003u + quint32(index));
    const int count = index % 50 == 7 ? 8000 : int(rng() % 60);
    QString text = QStringLiteral("правка %1.%2\n").arg(run).arg(index);
    for (int i = 0; i < count; ++i)
        text += pieces.at(qsizetype(rng() % pieces.size()));
    return text;
}
