// The "validate" subcommand of pello-host.
#pragma once

#include <CLI/CLI.hpp>

#include <filesystem>
#include <functional>
#include <string>

namespace pello::validate {

// Adds "validate [PLUGIN] [--seed N] [--only PATTERN]... [--json] ..."
// to `app`. When the subcommand is given, its callback runs the checks and
// ends the parse with the exit status (CLI::Success for 0, CLI::RuntimeError
// otherwise), so CLI11_PARSE returns it and nothing after the parse runs.
// `resolvePlugin` turns the module given (empty when none) into the path to
// load.
CLI::App *addValidateCommand(CLI::App &app,
                             std::function<std::filesystem::path(const std::string &)> resolvePlugin);

} // namespace pello::validate
