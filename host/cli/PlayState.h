// What pello-host play keeps on the plug-in thread: the session so far (run
// by the session runner, its transcript as `run --verbose` prints it), the
// pictures of the palette and the document, and the recording of the steps
// with expectations of the state each one reached.
#pragma once

#include "PlayPicture.h"
#include "SessionRunner.h"
#include "SessionScript.h"
#include "Transcript.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace pello::cli {

class PlayState {
public:
  struct Settings {
    std::filesystem::path plugin;
    std::filesystem::path preferences;
    std::string documentText, documentName;
  };
  // `prepare` is called on every new host (the first and each restart).
  PlayState(Settings settings, std::function<void(host::Host &)> prepare);
  ~PlayState();
  PlayState(const PlayState &) = delete;
  PlayState &operator=(const PlayState &) = delete;

  // Loads the module and starts the plug-in; false with the reason.
  bool begin(std::string &why);
  // Runs one step from the page; throws SessionError when it is malformed.
  void step(const Json &request);
  // Shuts the plug-in down if it runs (its preferences are written).
  // Returns why the preferences could not be written ("" when they were).
  std::string end();

  // The state now, for the page: palette, menu item, document picture,
  // what the last step changed and the transcript it added (the whole
  // transcript and the whole picture with `wholeTranscript`). The picture
  // is "art", whole, with the ids of the top-level objects ("topLevel"),
  // or "artUpdate", what to replace in the picture of version "base" to
  // get version "artVersion", whose top-level objects are those of "base".
  Json snapshot(bool wholeTranscript);
  // The document before the last step, drawn as it is drawn now.
  std::string previousPicture() const;
  // The steps so far as a session file that `pello-host run` replays.
  Json recording() const;

  harness::HostedPlugin &hosted() { return runner_->hosted(); }

private:
  Step parseStep(const Json &request);
  void readTranscript();
  void drawDocument();
  Json placement();
  void recordExpectations(const Step &step, std::size_t firstEvent, const Json &placementBefore);

  Settings settings_;
  std::function<void(host::Host &)> prepare_;
  std::FILE *transcriptFile_ = nullptr;
  std::unique_ptr<Transcript> transcript_;
  Session session_;
  std::unique_ptr<SessionRunner> runner_;
  bool running_ = false;

  std::string transcriptText_;
  std::size_t stepTranscriptStart_ = 0;
  std::size_t stepFirstEvent_ = 0;
  PlayPicture picture_;
  std::uint64_t pictureVersion_ = 0;
  Json pictureUpdate_; // from the version before; null when it must be drawn whole
  Json recorded_ = Json::array();
};

} // namespace pello::cli
