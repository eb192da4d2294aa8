#include "FuzzText.h"

#include <QStringList>
#include <cstring>

namespace {

// Code units that the text rules treat specially, or that are known to trip up case folding,
// normalisation and grapheme segmentation.
const QStringList snippets{
    u"\n"_qs, u"\r"_qs, u"\r\n"_qs, u"\v"_qs, u"\f"_qs, u"\u0085"_qs, u"\u2028"_qs,
    u"\u2029"_qs, u" "_qs, u"\t"_qs, u"\u00a0"_qs, u"\u2003"_qs, u"\u3000"_qs, u"\u1680"_qs,
    u"\u200b"_qs, u"\ufeff"_qs, u","_qs, u"\uff0c"_qs, u";"_qs, u"\u0301"_qs, u"\u0308"_qs,
    u"\u0306"_qs, u"\u20dd"_qs, u"\u0345"_qs, u"\u0903"_qs, u"\u200d"_qs, u"\u034f"_qs,
    u"ё"_qs, u"Ё"_qs, u"е"_qs, u"й"_qs, u"Й"_qs, u"и"_qs, u"а"_qs, u"Ж"_qs, u"a"_qs,
    u"Z"_qs, u"ß"_qs, u"ẞ"_qs, u"İ"_qs, u"ı"_qs, u"ﬃ"_qs, u"ǅ"_qs, u"ΐ"_qs, u"ς"_qs,
    u"Σ"_qs, u"\u212a"_qs, u"😀"_qs, u"👨‍👩‍👧"_qs, u"🇷🇺"_qs, u"👍🏽"_qs, u"שרה"_qs,
    u"مرحبا"_qs, u"\u202e"_qs, u"\u200f"_qs, u"한"_qs, u"\u1100\u1161"_qs, u"क्षि"_qs,
    QString(QChar(u'\0')), u"\ufffd"_qs, QString(QChar(char16_t(0xd83d))),
    QString(QChar(char16_t(0xde00))), QString(QChar(char16_t(0xffff)))};

} // namespace

QString decodeFuzzText(const uint8_t *data, size_t size)
{
    if (size == 0)
        return {};
    const uint8_t mode = data[0];
    const auto *bytes = reinterpret_cast<const char *>(data + 1);
    const qsizetype count = qsizetype(size - 1);

    QString text;
    switch (mode & 3) {
    case 0:
        text = QString::fromUtf8(bytes, count);
        break;
    case 1: {
        QList<char16_t> units(count / 2);
        if (!units.isEmpty())
            std::memcpy(units.data(), bytes, size_t(units.size()) * sizeof(char16_t));
        text = QString::fromUtf16(units.constData(), units.size());
        break;
    }
    case 2: {
        QList<char32_t> points(count / 4);
        if (!points.isEmpty())
            std::memcpy(points.data(), bytes, size_t(points.size()) * sizeof(char32_t));
        for (char32_t &point : points)
            point %= 0x110000;
        text = QString::fromUcs4(points.constData(), points.size());
        break;
    }
    case 3:
        for (qsizetype i = 0; i < count; ++i) {
            const auto byte = uint8_t(bytes[i]);
            if (byte < snippets.size())
                text += snippets.at(byte);
            else
                text += QChar(char16_t(0x400 + byte)); // Cyrillic and its neighbours
        }
        break;
    }

    if (mode == 0xff && !text.isEmpty()) {
        const QString unit = text;
        text.reserve(bigFuzzTextSize + unit.size());
        while (text.size() < bigFuzzTextSize)
            text += unit;
    }
    return text;
}
