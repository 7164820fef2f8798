#include "pello/host/Host.h"
#include "suites/ArtSuiteTables.h"

namespace pello::host {

void registerArtSuites(SuiteRegistry &registry) {
  registerArtSuite(registry);
  registerMatchingArtSuite(registry);
  registerPathStyleSuite(registry);
  registerTextPathSuite(registry);
  registerPlacedSuite(registry);
  registerRasterSuite(registry);
  registerPathSuite(registry);
  registerPatternSuite(registry);
  registerDocumentSuite(registry);
  registerTransformArtSuite(registry);
}

} // namespace pello::host
