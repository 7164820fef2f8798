// pello-host render DOC.json -o OUT.svg: a document as a picture.
#include "Commands.h"
#include "FileArguments.h"
#include "SessionRunner.h"
#include "SvgDocument.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace pello::cli {

void addRenderCommand(CLI::App &app, Options &options) {
  struct Arguments {
    std::string document, out;
  };
  auto args = std::make_shared<Arguments>();
  CLI::App *render = app.add_subcommand("render", "Draw a document (JSON) as an SVG picture");
  render->add_option("DOCUMENT", args->document, "The document file (JSON)")->required()->check(inputFile());
  render->add_option("-o,--output", args->out, "The SVG file to write (- for standard output)")
      ->required()
      ->check(outputFile());
  refuseSharedFiles(*render, {{"DOCUMENT", FileRole::reads}, {"--output", FileRole::writes}}, false);
  render->callback([args, &options] {
    std::ifstream in(args->document, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "pello-host: cannot read %s\n", args->document.c_str());
      options.status = kExitMalformed;
      return;
    }
    std::ostringstream text;
    text << in.rdbuf();
    try {
      host::DocumentModel model = host::parseDocument(text.str());
      std::string caption = args->document;
      options.status = writeTextFile(args->out, documentSvg(model, documentView(model), caption))
                           ? kExitOk
                           : kExitMalformed;
    } catch (const std::exception &e) {
      std::fprintf(stderr, "pello-host: %s: %s\n", args->document.c_str(), e.what());
      options.status = kExitMalformed;
    }
  });
}

} // namespace pello::cli
