// "AI Matching Art Suite" version 4: the selection.
//
// The list is one block of the host's Blocks, laid out as a handle: the
// block's first word points at the array of art handles that follows it, so
// (*matches)[i] is the i-th selected object and FreeBlock(*matches) gives
// the whole list back. Its cost follows the selection, not the document.
#include "AIMatchingArt.h"
#include "pello/host/Blocks.h"
#include "pello/host/Host.h"
#include "suites/ArtSuiteTables.h"

namespace pello::host {

namespace {

ASErr ASAPI GetSelectedArt(AIArtHandle ***matches, ai_int32 *numMatches) {
  PELLO_HOST_CALL(call, "AIMatchingArt::GetSelectedArt");
  if (ASErr e = call.injected()) return call.done(e);
  Document &document = currentDocument();
  if (!document.isOpen()) return call.done(kAINoDocumentError);
  if (!matches || !numMatches) return call.done(kSPBadParameterError);
  const std::vector<Serial> &selection = document.model().selection();
  const std::size_t count = selection.size();
  if (count == 0) {
    *matches = nullptr;
    *numMatches = 0;
    call.arg("count", 0);
    return call.done(kASNoError);
  }
  if (count > static_cast<std::size_t>(INT32_MAX)) return call.done(kSPOutOfMemoryError);
  void *block = Host::current().get<Blocks>().allocate(sizeof(AIArtHandle *) + count * sizeof(AIArtHandle),
                                                       "selected art");
  if (!block) return call.done(kSPOutOfMemoryError);
  auto **master = static_cast<AIArtHandle **>(block);
  auto *array = reinterpret_cast<AIArtHandle *>(master + 1);
  *master = array;
  for (std::size_t i = 0; i < count; ++i)
    array[i] = artHandle(selection[i]);
  *matches = master;
  *numMatches = static_cast<ai_int32>(count);
  if (call.logging()) {
    std::string ids;
    for (Serial s : selection)
      ids += (ids.empty() ? "" : " ") + document.model().object(s)->id;
    call.arg("count", count).arg("art", Label{std::move(ids)});
  }
  return call.done(kASNoError);
}

AIMatchingArtSuite gSuite = {GetSelectedArt};

} // namespace

void registerMatchingArtSuite(SuiteRegistry &registry) {
  registry.add(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion, &gSuite);
}

} // namespace pello::host
