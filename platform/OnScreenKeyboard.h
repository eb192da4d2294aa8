#pragma once

#include <QObject>

// Opens squeekboard when a text field takes focus and closes it when focus leaves text.
// Phosh drives the keyboard through a Wayland protocol this Qt does not speak, so the
// field alone never brings it up; its D-Bus switch does. Off the Wayland platform, and
// without the keyboard's service, nothing happens.
class OnScreenKeyboard final : public QObject
{
    Q_OBJECT

public:
    // everywhere: follow focus whatever the platform (the tests run offscreen).
    explicit OnScreenKeyboard(bool everywhere = false, QObject *parent = nullptr);
    // Closes the keyboard if this opened it.
    ~OnScreenKeyboard() override;

private:
    void follow(QObject *focus);
    void ask(bool visible);

    bool m_shown = false;
};
