// Shortening a text that is too wide for its control, so a long path still
// shows its start and its end. The measuring is the caller's (the win32
// FitTextToControl measures in the control's font); this is the arithmetic.
#pragma once

#include <string>
#include <string_view>

namespace hw {

// `textWidth` is the width of `text` and `controlWidth` that of the control,
// in the same unit. When the text is narrower, `output` is the text and the
// result 1. Otherwise the result is 0 and the text keeps about as many
// characters as fit: plain texts keep their start and end in " ... "; paths
// (`pathFlag` set) lose their middle, the tail beginning at a "\". For very
// narrow controls the output keeps less, never anything outside the text.
int FitText(std::string_view text, long textWidth, long controlWidth, int pathFlag,
            std::string& output);

}  // namespace hw
