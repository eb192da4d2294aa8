#pragma once

#include "StoreRig.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QQmlEngine>
#include <QQuickTextDocument>
#include <QRawFont>
#include <QTextDocument>
#include <vector>

// What a QML test needs besides the screens: a real store on fakes, and the fakes
// themselves. Stores stay alive until the test file ends, so a view still holding one
// never sees it vanish.
class TestHarness : public QObject
{
    Q_OBJECT
    Q_PROPERTY(GameStore *store READ store NOTIFY storeChanged)

public:
    TestHarness() { adopt(std::make_unique<StoreRig>()); }

    GameStore *store() const { return &rig().store; }

    // A fresh store on fresh fakes; it becomes `store`.
    Q_INVOKABLE GameStore *newStore(quint64 seed = 1) { return adopt(std::make_unique<StoreRig>(nullptr, seed)); }
    // A new store on the same preferences, as after the game is closed and opened again.
    Q_INVOKABLE GameStore *restartStore() { return adopt(std::make_unique<StoreRig>(rig().preferences)); }

    // "success", "warning", "error", in order.
    Q_INVOKABLE QStringList hapticCues() const
    {
        static const QStringList names{QStringLiteral("success"), QStringLiteral("warning"), QStringLiteral("error")};
        QStringList cues;
        for (HapticCue cue : rig().haptics.cues)
            cues.append(names.at(int(cue)));
        return cues;
    }
    // e.g. "skip_sound2:play".
    Q_INVOKABLE QStringList audioLog() const { return rig().audio.log; }
    Q_INVOKABLE void advanceClock(int ms) { rig().clock.advance(std::chrono::milliseconds(ms)); }
    // Values handed out by the next random draws, each modulo its bound.
    Q_INVOKABLE void queueRandom(const QVariantList &values)
    {
        for (const QVariant &value : values)
            rig().random.queue.append(value.toULongLong());
    }
    Q_INVOKABLE QVariant preference(const QString &key) const { return rig().preferences->values.value(key); }
    Q_INVOKABLE void setPreference(const QString &key, const QVariant &v) { rig().preferences->values.insert(key, v); }
    // Plain text on the clipboard, as another application puts it there.
    Q_INVOKABLE void setClipboardText(const QString &text)
    {
        auto *data = new QMimeData;
        data->setText(text);
        QGuiApplication::clipboard()->setMimeData(data);
    }

    // The paragraphs a text edit's document holds; -1 for anything else.
    Q_INVOKABLE int paragraphCount(QObject *textEdit) const
    {
        const auto *document = textEdit ? textEdit->property("textDocument").value<QQuickTextDocument *>()
                                        : nullptr;
        return document ? document->textDocument()->blockCount() : -1;
    }

    // Width of text set in one of the compiled-in font files (":/fonts/<file>") at a pixel
    // size, measured on that file itself: what a text in the right face must measure.
    // -1 when the file is missing or lacks a glyph of the text.
    Q_INVOKABLE qreal faceAdvance(const QString &text, const QString &fontFile, qreal pixelSize) const
    {
        QFile file(QStringLiteral(":/fonts/") + fontFile);
        const QRawFont font(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), pixelSize);
        qreal width = 0;
        for (const uint codePoint : text.toUcs4()) {
            if (!font.supportsCharacter(codePoint))
                return -1;
        }
        for (const QPointF &advance : font.advancesForGlyphIndexes(font.glyphIndexesForString(text)))
            width += advance.x();
        return width;
    }

signals:
    void storeChanged();

private:
    StoreRig &rig() const { return *m_rigs.back(); }
    GameStore *adopt(std::unique_ptr<StoreRig> rig)
    {
        m_rigs.push_back(std::move(rig));
        QQmlEngine::setObjectOwnership(store(), QQmlEngine::CppOwnership);
        emit storeChanged();
        return store();
    }

    std::vector<std::unique_ptr<StoreRig>> m_rigs;
};
