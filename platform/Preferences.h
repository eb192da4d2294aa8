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
    // Writes through to storage, or queues the write for a writer that keeps trying until it
    // is stored; false when it could be neither.
    virtual bool writeText(const QString &key, const QString &value) = 0;
};
