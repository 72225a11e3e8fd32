// session_decoder.h - the session fuzzer's input format: any bytes are a
// valid input and decode to up to three activations, each a scene and the
// panel actions played on it.
//
//   activation := light-count light{first 24} action* (0xff | ok | cancel | end)
//   action     := kind-byte arguments    kind = byte % sim::kActionKindCount
//
// Arguments come from the bytes that follow, as each kind needs them; small
// codes pick the values that break things (NaN, infinities, huge numbers).
// Texts typed go out as UTF-8 in the scene's reading of its names, so the
// plug-in gets the bytes the input holds. A click by name needs the list's
// paints, which the fuzzer's host does not keep, so it is played as the
// click on that row it would send. Ok and cancel end the activation.
#ifndef VANTOREL_FUZZ_SESSION_DECODER_H
#define VANTOREL_FUZZ_SESSION_DECODER_H

#include <cstddef>
#include <cstdint>

#include "session.h"

namespace fuzz {

validate::Session decodeSession(const std::uint8_t *data, std::size_t size);

}  // namespace fuzz

#endif
