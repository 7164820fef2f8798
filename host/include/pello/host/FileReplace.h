// Replacing a file's content whole: written beside it under a temporary name
// of its own (created exclusively, never through a link), then renamed over
// it. A failed write never leaves a half-written file, writers at the same
// time never share a temporary file (the last rename wins, whole), and a link
// at `file` is written through: the file it names is replaced, the link kept.
#pragma once

#include <filesystem>
#include <string>

namespace pello::host {

// True when `file` now holds `text`; otherwise false with `why` ("cannot be
// written: ..." or "cannot be replaced: ..."), and nothing left that this
// call made.
bool replaceFile(const std::filesystem::path &file, const std::string &text, std::string &why);

} // namespace pello::host
