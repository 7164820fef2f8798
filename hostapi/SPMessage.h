/* SPMessage.h: the records the host passes to PluginMain, the callers and
 * selectors of the plug-in shell, and the entry point's type. */
#ifndef PELLO_HOSTAPI_SPMESSAGE_H
#define PELLO_HOSTAPI_SPMESSAGE_H

#include "ASTypes.h"
#include "SPBasic.h"

AS_BEGIN_C

/* Common header of every message. */
typedef struct SPMessageData {
  /* The host's reference to this plug-in; pass it wherever the host asks who
   * is calling (menu items, notifiers, dialogs). */
  SPPluginRef self;
  /* A slot the host keeps for the plug-in while its library is unloaded and
   * hands back with every later message; the plug-in owns what it points to. */
  void *globals;
  /* The basic suite; valid for the duration of the call. */
  SPBasicSuite *basic;
} SPMessageData;

/* Caller "SP Access": selectors "Unload" and "Reload". Suites are not to be
 * acquired during these calls. */
typedef struct SPAccessMessage {
  SPMessageData d;
} SPAccessMessage;

/* Caller "SP Interface": selectors "Startup", "About", "Shutdown". */
typedef struct SPInterfaceMessage {
  SPMessageData d;
} SPInterfaceMessage;

#define kSPAccessCaller "SP Access"
#define kSPAccessUnloadSelector "Unload"
#define kSPAccessReloadSelector "Reload"

#define kSPInterfaceCaller "SP Interface"
#define kSPInterfaceStartupSelector "Startup"
#define kSPInterfaceAboutSelector "About"
#define kSPInterfaceShutdownSelector "Shutdown"

/* The one entry point a plug-in exports, under the name its PiPL gives.
 * Returns 0 or a host error code; the host owns `message`. */
typedef ASErr(ASAPI *SPPluginMainProc)(const char *caller, const char *selector, void *message);

AS_END_C

#endif
