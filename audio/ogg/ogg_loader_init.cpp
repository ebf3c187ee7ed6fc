#include "audio/audio_state.h"
#include "audio/ogg.h"
#include "audio/ogg/ogg_loader.h"

#include <algorithm>

namespace vantrel {

void ogg_loader_init()
{
    AudioState& state = audio_state();
    // The lists themselves say whether this ran: a reset of the audio layer
    // empties them, and the loader is added anew after.
    const bool listed = state.loaders.first_answer(
        [](const Ref<TSampleLoader>& loader) { return dynamic_cast<TOggLoader*>(loader.get()) != nullptr; });
    if (!listed)
        state.loaders.add_last(make_ref<TOggLoader>());
    auto& readers = state.stream_readers;
    if (std::find(readers.begin(), readers.end(), &open_ogg_reader) == readers.end())
        readers.push_back(&open_ogg_reader);
}

} // namespace vantrel
