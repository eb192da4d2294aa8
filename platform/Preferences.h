#pragma once

#include <QString>
#include <optional>

// Key-value store for the few texts that outlive the process.
class Preferences
{
public:
    virtual ~Preferences() = default;

    // The text stored under key, or nothing when absent or not a text.
    virtual std::optional<QString> readText(const QString &key) = 0;
    // Writes through to storage at once; false when it could not be stored.
    virtual bool writeText(const QString &key, const QString &value) = 0;
};
