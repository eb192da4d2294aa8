#pragma once

#include <QStringList>

// The fonts and icon fonts compiled into the program. They must be registered before the
// first screen is built: a missing face renders as boxes without any error.
class UiAssets
{
public:
    // Registers every font once per process; false when one of them could not be read.
    static bool install();

    // Resource paths of the font files, e.g. ":/fonts/Nunito-Black.ttf".
    static QStringList fontFiles();
};
