#include "StoreRig.h"

StoreRig::StoreRig(std::shared_ptr<FakePreferences> sharedPreferences, quint64 seed)
    : preferences(sharedPreferences ? std::move(sharedPreferences)
                                    : std::make_shared<FakePreferences>())
    , random(seed)
    , sound(audio, random)
    , store(*preferences, sound, haptics, clock, random)
{
}
