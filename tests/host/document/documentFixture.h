// A stand-in host with a document and the art suites acquired as the
// plug-in would acquire them, for tests that call the suites directly.
#pragma once

#include "AIArt.h"
#include "AIDocument.h"
#include "AIMatchingArt.h"
#include "AIPath.h"
#include "AIPathStyle.h"
#include "AIPattern.h"
#include "AIPlaced.h"
#include "AIRaster.h"
#include "AITextPath.h"
#include "AITransformArt.h"
#include "SPBlocks.h"
#include "pello/host/Blocks.h"
#include "pello/host/Document.h"
#include "pello/host/DocumentJson.h"
#include "pello/host/Host.h"

#include <gtest/gtest.h>

#include <string>

// A document with one object of every kind, selected in a mixed order.
extern const char *const kEveryKindDocument;

class DocumentTest : public ::testing::Test {
protected:
  DocumentTest();
  ~DocumentTest() override;

  pello::host::Host host;
  pello::host::Document &document;

  const AIArtSuite *art = nullptr;
  const AIMatchingArtSuite *matching = nullptr;
  const AIPathStyleSuite *pathStyle = nullptr;
  const AITextPathSuite *textPath = nullptr;
  const AIPlacedSuite *placed = nullptr;
  const AIRasterSuite *raster = nullptr;
  const AIPathSuite *path = nullptr;
  const AIPatternSuite *pattern = nullptr;
  const AIDocumentSuite *documentSuite = nullptr;
  const AITransformArtSuite *transformArt = nullptr;
  const SPBlocksSuite *blocks = nullptr;

  AIArtHandle handle(const std::string &id) { return document.handle(id); }
  // The ids of the selection list the host hands out, freed afterwards.
  std::vector<std::string> selectedIds();
};
