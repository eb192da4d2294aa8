#pragma once

#include "Preferences.h"

#include <QHash>
#include <QVariant>

// In-memory preferences; values of any type can be planted, writes can be made to fail.
class FakePreferences final : public Preferences
{
public:
    std::optional<QString> readText(const QString &key) override
    {
        const QVariant value = values.value(key);
        return value.typeId() == QMetaType::QString ? std::optional(value.toString()) : std::nullopt;
    }

    bool writeText(const QString &key, const QString &value) override
    {
        ++writeCount;
        if (!failWrites)
            values.insert(key, value);
        return !failWrites;
    }

    QHash<QString, QVariant> values;
    bool failWrites = false;
    int writeCount = 0;
};
