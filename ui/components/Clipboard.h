#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The system clipboard's plain text, for editors that take a long paste their own way.
class Clipboard : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    Q_INVOKABLE QString text() const;
};
