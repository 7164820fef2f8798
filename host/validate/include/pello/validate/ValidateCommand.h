// The "validate" subcommand of pello-host.
#pragma once

#include <CLI/CLI.hpp>

namespace pello::validate {

// Adds "validate [PLUGIN] [--seed N] [--steps M] [--only GROUP] [--list]"
// to `app`. When the subcommand is given, its callback runs the checks and
// ends the parse with the exit status (CLI::Success for 0, CLI::RuntimeError
// otherwise), so CLI11_PARSE returns it and nothing after the parse runs.
CLI::App *addValidateCommand(CLI::App &app);

} // namespace pello::validate
