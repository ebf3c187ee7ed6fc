// The scripted audio output of the device tests: the null platform's output,
// whose cursor the test sets and whose failures it chooses.
#pragma once

#include "platform/null/null_audio_output.h"

namespace vantrel::test {

using FakeOutput = platform::NullAudioOutput;

} // namespace vantrel::test
