#pragma once

#include <QDebug>
#include <cstdlib>

// A broken property is a finding: report it and stop, so that libFuzzer saves the input.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            qCritical("%s:%d: property failed: %s", __FILE__, __LINE__, #condition);              \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)
