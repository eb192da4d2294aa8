#include "FuzzText.h"

#include <QStringList>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// Code units that the text rules treat specially, or that are known to trip up case folding,
// normalisation and grapheme segmentation.
const QStringList snippets{
    u"\n"_s, u"\r"_s, u"\r\n"_s, u"\v"_s, u"\f"_s, u"\u0085"_s, u"\u2028"_s,
    u"\u2029"_s, u" "_s, u"\t"_s, u"\u00a0"_s, u"\u2003"_s, u"\u3000"_s, u"\u1680"_s,
    u"\u200b"_s, u"\ufeff"_s, u","_s, u"\uff0c"_s, u";"_s, u"\u0301"_s, u"\u0308"_s,
    u"\u0306"_s, u"\u20dd"_s, u"\u0345"_s, u"\u0903"_s, u"\u200d"_s, u"\u034f"_s,
    u"ё"_s, u"Ё"_s, u"е"_s, u"й"_s, u"Й"_s, u"и"_s, u"а"_s, u"Ж"_s, u"a"_s,
    u"Z"_s, u"ß"_s, u"ẞ"_s, u"İ"_s, u"ı"_s, u"ﬃ"_s, u"ǅ"_s, u"ΐ"_s, u"ς"_s,
    u"Σ"_s, u"\u212a"_s, u"😀"_s, u"👨‍👩‍👧"_s, u"🇷🇺"_s, u"👍🏽"_s, u"שרה"_s,
    u"مرحبا"_s, u"\u202e"_s, u"\u200f"_s, u"한"_s, u"\u1100\u1161"_s, u"क्षि"_s,
    QString(QChar(u'\0')), u"\ufffd"_s, QString(QChar(char16_t(0xd83d))),
    QString(QChar(char16_t(0xde00))), QString(QChar(char16_t(0xffff))), u"\u00ad"_s,
    u"\u200c"_s, u"\u2060"_s, u"\u2066"_s, u"\ufe0f"_s, u"\u3164"_s, u"\U000E0067"_s,
    u"❤"_s};

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
