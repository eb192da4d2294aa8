#pragma once

#include <QObject>
#include <QVersionNumber>

class QDBusVariant;

// Phosh's keyboard (squeekboard) up while a text field has focus, down when focus leaves text.
//
// Who drives it is decided once, at start (driverFor):
// - Qt's own input method, where Qt's Wayland plugin speaks text-input-v3, the protocol phoc
//   offers (QtWayland 6.7 on; 6.4's knows v1, v2 and Qt's own, none of which phoc offers).
//   The compositor then shows the keyboard for the focused field with the layout the field
//   asks for (the number pad for the words-to-win field) and follows the user's setting;
//   this class asks it down where no field has focus: Qt 6.8 left it up once the screen with
//   the focused field had gone, and brings it up by itself in a window without one (a
//   dragged list). After it asked the keyboard down, squeekboard stays down for Qt's next
//   field, so then it asks it up too.
//   QT_WAYLAND_TEXT_INPUT_PROTOCOL, when set, lists the
//   protocols Qt may use: without zwp_text_input_v3 in it Qt does not reach phoc's keyboard.
// - squeekboard's D-Bus switch (sm.puri.OSK0 SetVisible) elsewhere on Wayland. The switch
//   carries no purpose, so every field gets the keyboard's current layout, letters for the
//   number field too (which refuses anything but a number).
// - nobody off Wayland: X11 and offscreen have no squeekboard to drive.
//
// Over D-Bus it follows squeekboard's Visible property, so a keyboard that the shell's button
// or another client hid comes back when the focused field is tapped, or another one takes
// focus. At start, and whenever the window becomes active with no text field focused, it
// asks the keyboard down: a killed game may have left it up where the next one opens. It
// never asks the keyboard up while the user's setting (screen-keyboard-enabled, read through
// the desktop portal; no answer counts as on) is off.
class OnScreenKeyboard final : public QObject
{
    Q_OBJECT

public:
    enum class Driver { nobody, squeekboard, qtInputMethod };
    Q_ENUM(Driver)
    // textInputProtocols: QT_WAYLAND_TEXT_INPUT_PROTOCOL's value (empty when unset).
    static Driver driverFor(const QVersionNumber &qt, QStringView platform,
                            const QByteArray &textInputProtocols);
    // The same question about this process: the Qt it runs on, its platform, its environment.
    static Driver runtimeDriver();

    explicit OnScreenKeyboard(Driver driver = runtimeDriver(), QObject *parent = nullptr);
    // Closes the keyboard if this opened it.
    ~OnScreenKeyboard() override;

    // What squeekboard last said of itself (or was last asked).
    bool shown() const { return m_visible; }
    // The user's setting, as the portal last said.
    bool enabledByUser() const { return m_enabled; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void keyboardChanged(const QString &interface, const QVariantMap &changed,
                         const QStringList &invalidated);
    void settingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    void follow(QObject *focus);
    void ask(bool visible);
    void useSetting(QVariant value);

    bool m_visible = false;
    // Asked up by this and not gone down since.
    bool m_raised = false;
    bool m_enabled = true;
    // Asks the keyboard up, not only down: where nobody else does.
    const bool m_raises;
    // Taken down by this where Qt's input method drives it: up again for the next field.
    bool m_heldDown = false;
};
