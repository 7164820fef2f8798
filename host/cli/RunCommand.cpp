// pello-host run SESSION.json: a session file, its transcript, its pictures.
#include "Commands.h"
#include "FileArguments.h"
#include "SessionRunner.h"
#include "SessionScript.h"
#include "SvgDocument.h"

#include <algorithm>
#include <cstdio>

namespace pello::cli {

int runSessionCommand(const Session &session, const SessionSettings &settings) {
  reportCrashesOf(settings.plugin);
  Transcript transcript(stdout, settings.json ? Transcript::Format::json : Transcript::Format::text,
                        settings.verbose);
  SessionRunner runner(session, settings.plugin, transcript);
  int status = runner.run();
  Json files = Json::array();
  if (status != kExitNoPlugin && !settings.out.empty()) {
    host::DocumentModel before = host::readDocument(runner.documentBefore());
    host::DocumentModel after = host::readDocument(runner.documentAfter());
    View view = unite(documentView(before), documentView(after));
    struct Picture {
      const char *name;
      std::string svg;
    };
    std::vector<Picture> pictures{
        {"before.svg", documentSvg(before, view, "Before: " + session.name)},
        {"after.svg", documentSvg(after, view, "After: " + session.name,
                                  host::documentChanges(runner.documentBefore(), runner.documentAfter()))}};
    if (!runner.palettePicture().empty()) pictures.push_back({"palette.svg", runner.palettePicture()});
    for (const Picture &picture : pictures) {
      std::filesystem::path file = settings.out / picture.name;
      if (!writeTextFile(file, picture.svg)) {
        status = kExitMalformed;
        continue;
      }
      files.push_back(file.string());
      transcript.add(Json{{"event", "file"}, {"path", file.string()}});
    }
  }
  transcript.finish(
      Json{{"session", session.name},
           {"plugin", settings.plugin.string()},
           {"passed", status == kExitOk},
           {"expectations", {{"met", runner.expectationsMet()}, {"failed", runner.expectationsFailed()}}},
           {"stepsFailed", runner.stepsFailed()},
           {"files", files},
           {"exitStatus", status}});
  return status;
}

void addRunCommand(CLI::App &app, Options &options) {
  struct Arguments {
    std::vector<std::string> sessions;
    std::string out;
    bool json = false, verbose = false;
  };
  auto args = std::make_shared<Arguments>();
  CLI::App *run = app.add_subcommand(
      "run", "Run session files: their steps on their documents, with a transcript each; exits 1 when an "
             "expectation fails, 2 when a session is malformed (the highest status of all the sessions)");
  run->add_option("SESSION", args->sessions, "The session files (JSON; see examples/README.md), run in order")
      ->required()
      ->check(inputFile());
  run->add_option("--out", args->out,
                  "Write before.svg, after.svg and palette.svg to this folder (one session)")
      ->check(outputFolder());
  run->add_flag("--json", args->json, "Print each transcript as JSON");
  run->add_flag("--verbose", args->verbose,
                "Print every host call as it happens (with --json: a \"call\" event for each)");
  addPluginOption(*run, options);
  refuseSharedFiles(*run, {{"SESSION", FileRole::reads}, {"--out", FileRole::writesInto, kPictureFiles}},
                    true);
  run->callback([args, &options] {
    if (!args->out.empty() && args->sessions.size() > 1) {
      std::fprintf(stderr, "pello-host: --out takes one session, not %zu\n", args->sessions.size());
      options.status = kExitMalformed;
      return;
    }
    const std::filesystem::path plugin = pluginPath(options.plugin);
    int worst = kExitOk;
    for (const std::string &file : args->sessions) {
      int status;
      try {
        Session session = loadSessionFile(file);
        status = runSessionCommand(session, {plugin, args->out, args->json, args->verbose});
      } catch (const SessionError &e) {
        if (args->sessions.size() > 1)
          std::fprintf(stderr, "pello-host: malformed session %s: %s\n", file.c_str(), e.what());
        else
          std::fprintf(stderr, "pello-host: malformed session: %s\n", e.what());
        status = kExitMalformed;
      }
      std::fflush(stdout);
      worst = std::max(worst, status);
    }
    options.status = worst;
  });
}

} // namespace pello::cli
