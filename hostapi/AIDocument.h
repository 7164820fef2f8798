/* AIDocument.h: "AI Document Suite" version 7, the current document. */
#ifndef PELLO_HOSTAPI_AIDOCUMENT_H
#define PELLO_HOSTAPI_AIDOCUMENT_H

#include "ASTypes.h"

AS_BEGIN_C

#define kAIDocumentSuite "AI Document Suite"
#define kAIDocumentSuiteVersion 7

typedef struct AIDocumentSuite {
  /* Stores whether the current document has unsaved changes;
   * kAINoDocumentError without a document. */
  ASErr(ASAPI *GetDocumentModified)(ASBoolean *modified);
  /* Marks the current document as changed or saved. */
  ASErr(ASAPI *SetDocumentModified)(ASBoolean modified);
} AIDocumentSuite;

AS_END_C

#endif
