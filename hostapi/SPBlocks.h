/* SPBlocks.h: "SP Blocks Suite" version 2, the host's memory blocks. */
#ifndef PELLO_HOSTAPI_SPBLOCKS_H
#define PELLO_HOSTAPI_SPBLOCKS_H

#include "ASTypes.h"

AS_BEGIN_C

#define kSPBlocksSuite "SP Blocks Suite"
#define kSPBlocksSuiteVersion 2

typedef struct SPBlocksSuite {
  /* Allocates `size` bytes (contents undefined) under a debugging name and
   * stores the block in *block; the caller owns it until FreeBlock. Fails
   * with kSPOutOfMemoryError, leaving *block untouched. */
  ASErr(ASAPI *AllocateBlock)(size_t size, const char *debugName, void **block);
  /* Gives back a block from AllocateBlock (or a list the host handed out as a
   * block, see AIMatchingArt.h). Null is accepted and does nothing; an
   * address the host did not hand out fails with kSPBadParameterError. */
  ASErr(ASAPI *FreeBlock)(void *block);
  /* Resizes a block, keeping its contents up to the smaller size; on failure
   * the old block stays valid and *newBlock is untouched. */
  ASErr(ASAPI *ReallocateBlock)(void *block, size_t newSize, const char *debugName, void **newBlock);
} SPBlocksSuite;

AS_END_C

#endif
