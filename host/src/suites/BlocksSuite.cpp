// "SP Blocks Suite" version 2 over the host's tracked blocks.
#include "SPBlocks.h"
#include "pello/host/Blocks.h"
#include "pello/host/HostCall.h"
#include "suites/ShellSuiteTables.h"

namespace pello::host {

namespace {

ASErr ASAPI AllocateBlock(size_t size, const char *debugName, void **block) {
  PELLO_HOST_CALL(call, "SPBlocks::AllocateBlock");
  call.arg("size", size).arg("name", debugName);
  if (ASErr e = call.injected()) return call.done(e);
  if (!block) return call.done(kSPBadParameterError);
  void *made = Host::current().get<Blocks>().allocate(size, debugName);
  if (!made) return call.done(kSPOutOfMemoryError);
  *block = made;
  call.arg("block", static_cast<const void *>(made));
  return call.done(kASNoError);
}

ASErr ASAPI FreeBlock(void *block) {
  PELLO_HOST_CALL(call, "SPBlocks::FreeBlock");
  call.arg("block", static_cast<const void *>(block));
  if (ASErr e = call.injected()) return call.done(e);
  if (!block) return call.done(kASNoError);
  return call.done(Host::current().get<Blocks>().free(block) ? kASNoError : kSPBadParameterError);
}

ASErr ASAPI ReallocateBlock(void *block, size_t newSize, const char *debugName, void **newBlock) {
  PELLO_HOST_CALL(call, "SPBlocks::ReallocateBlock");
  call.arg("block", static_cast<const void *>(block)).arg("size", newSize).arg("name", debugName);
  if (ASErr e = call.injected()) return call.done(e);
  if (!newBlock) return call.done(kSPBadParameterError);
  Blocks &blocks = Host::current().get<Blocks>();
  if (!blocks.owns(block)) return call.done(kSPBadParameterError);
  void *made = blocks.reallocate(block, newSize, debugName);
  if (!made) return call.done(kSPOutOfMemoryError);
  *newBlock = made;
  return call.done(kASNoError);
}

SPBlocksSuite gSuite = {AllocateBlock, FreeBlock, ReallocateBlock};

} // namespace

void registerBlocksSuite(SuiteRegistry &registry) {
  registry.add(kSPBlocksSuite, kSPBlocksSuiteVersion, &gSuite);
}

} // namespace pello::host
