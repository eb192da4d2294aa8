#include "QtAudioBackend.h"

// The game's sound backend, as the module the game loads once its first frame is drawn
// (or a sound is first wanted). Decoding waits for the game's word (startLoading).
extern "C" Q_DECL_EXPORT AudioBackend *glimp_create_audio_backend()
{
    return new QtAudioBackend(QtAudioBackend::Start::whenAsked);
}
