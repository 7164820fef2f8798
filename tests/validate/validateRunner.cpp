// The validate command on its own, for the tests: the same subcommand that
// pello-host offers.
#include "pello/validate/ValidateCommand.h"

int main(int argc, char **argv) {
  CLI::App app{"validate runner"};
  app.require_subcommand(1);
  pello::validate::addValidateCommand(app);
  CLI11_PARSE(app, argc, argv);
  return 0;
}
