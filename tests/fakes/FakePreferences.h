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
        if (value.typeId() != QMetaType::QString)
            return std::nullopt;
        return value.toString();
    }

    bool writeText(const QString &key, const QString &value) override
    {
        ++writeCount;
        if (failWrites)
            return false;
        values.insert(key, value);
        return true;
    }

    QHash<QString, QVariant> values;
    bool failWrites = false;
    int writeCount = 0;
};
