#include "TestHarness.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <QFile>
#include <QQmlEngine>
#include <QRawFont>

namespace {

QRawFont rawFont(const QString &fontFile, qreal pixelSize)
{
    QFile file(QStringLiteral(":/fonts/") + fontFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QRawFont(file.readAll(), pixelSize);
}

QString cueName(HapticCue cue)
{
    switch (cue) {
    case HapticCue::success:
        return QStringLiteral("success");
    case HapticCue::warning:
        return QStringLiteral("warning");
    case HapticCue::error:
        return QStringLiteral("error");
    }
    return {};
}

} // namespace

TestHarness::TestHarness(QObject *parent) : QObject(parent) { }

TestHarness::~TestHarness() = default;

GameStore *TestHarness::store() const
{
    return m_rigs.empty() ? nullptr : &m_rigs.back()->store;
}

GameStore *TestHarness::newStore(quint64 seed)
{
    m_rigs.push_back(std::make_unique<StoreRig>(nullptr, seed));
    QQmlEngine::setObjectOwnership(store(), QQmlEngine::CppOwnership);
    emit storeChanged();
    return store();
}

GameStore *TestHarness::restartStore()
{
    if (m_rigs.empty())
        return newStore();
    m_rigs.push_back(std::make_unique<StoreRig>(m_rigs.back()->preferences));
    QQmlEngine::setObjectOwnership(store(), QQmlEngine::CppOwnership);
    emit storeChanged();
    return store();
}

QStringList TestHarness::hapticCues() const
{
    QStringList names;
    if (rig()) {
        for (HapticCue cue : rig()->haptics.cues)
            names.append(cueName(cue));
    }
    return names;
}

QStringList TestHarness::audioLog() const
{
    return rig() ? rig()->audio.log : QStringList();
}

void TestHarness::advanceClock(int ms)
{
    if (rig())
        rig()->clock.advance(std::chrono::milliseconds(ms));
}

void TestHarness::queueRandom(const QVariantList &values)
{
    if (!rig())
        return;
    for (const QVariant &value : values)
        rig()->random.queue.append(value.toULongLong());
}

QVariant TestHarness::preference(const QString &key) const
{
    return rig() ? rig()->preferences->values.value(key) : QVariant();
}

void TestHarness::setPreference(const QString &key, const QVariant &value)
{
    if (rig())
        rig()->preferences->values.insert(key, value);
}

void TestHarness::failPreferenceWrites(bool fail)
{
    if (rig())
        rig()->preferences->failWrites = fail;
}

qreal TestHarness::faceAdvance(const QString &text, const QString &fontFile,
                               qreal pixelSize) const
{
    const QRawFont font = rawFont(fontFile, pixelSize);
    if (!font.isValid())
        return -1;
    qreal width = 0;
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    for (const QPointF &advance : font.advancesForGlyphIndexes(glyphs))
        width += advance.x();
    return width;
}

bool TestHarness::faceHasGlyphs(const QString &fontFile, const QString &text) const
{
    const QRawFont font = rawFont(fontFile, 20);
    if (!font.isValid())
        return false;
    for (const uint codePoint : text.toUcs4()) {
        if (!font.supportsCharacter(codePoint))
            return false;
    }
    return true;
}

void TestHarness::setClipboardText(const QString &text)
{
    auto *data = new QMimeData;
    data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data);
}
