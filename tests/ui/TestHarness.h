#pragma once

#include "StoreRig.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QtQml/qqml.h>
#include <memory>
#include <vector>

// What a QML test needs besides the screens: a real store on fakes, and the fakes
// themselves. Stores stay alive until the test file ends, so a view still holding one
// never sees it vanish.
class TestHarness : public QObject
{
    Q_OBJECT
    Q_PROPERTY(GameStore *store READ store NOTIFY storeChanged)

public:
    explicit TestHarness(QObject *parent = nullptr);
    ~TestHarness() override;

    GameStore *store() const;
    StoreRig *rig() const { return m_rigs.empty() ? nullptr : m_rigs.back().get(); }

    // A fresh store on fresh fakes; it becomes `store`.
    Q_INVOKABLE GameStore *newStore(quint64 seed = 1);
    // A new store on the same preferences, as after the game is closed and opened again.
    Q_INVOKABLE GameStore *restartStore();

    // "success", "warning", "error", in order.
    Q_INVOKABLE QStringList hapticCues() const;
    // e.g. "skip_sound2:play".
    Q_INVOKABLE QStringList audioLog() const;
    Q_INVOKABLE void advanceClock(int ms);
    // Values handed out by the next random draws, each modulo its bound.
    Q_INVOKABLE void queueRandom(const QVariantList &values);
    Q_INVOKABLE QVariant preference(const QString &key) const;
    Q_INVOKABLE void setPreference(const QString &key, const QVariant &value);
    Q_INVOKABLE void failPreferenceWrites(bool fail);
    // Plain text on the clipboard, as another application puts it there.
    Q_INVOKABLE void setClipboardText(const QString &text);

    // Width of text set in one of the compiled-in font files (":/fonts/<file>") at a pixel
    // size, measured on that file itself: what a text in the right face must measure.
    Q_INVOKABLE qreal faceAdvance(const QString &text, const QString &fontFile,
                                  qreal pixelSize) const;
    // True when every character of text has a glyph in that font file.
    Q_INVOKABLE bool faceHasGlyphs(const QString &fontFile, const QString &text) const;

signals:
    void storeChanged();

private:
    std::vector<std::unique_ptr<StoreRig>> m_rigs;
};
