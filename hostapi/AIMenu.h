/* AIMenu.h: "AI Menu Suite" version 7 and the "AI Menu" message: menu items
 * a plug-in adds to the host's menus. */
#ifndef PELLO_HOSTAPI_AIMENU_H
#define PELLO_HOSTAPI_AIMENU_H

#include "SPMessage.h"

AS_BEGIN_C

#define kAIMenuSuite "AI Menu Suite"
#define kAIMenuSuiteVersion 7

#define kAIMenuCaller "AI Menu"
#define kAIMenuGoSelector "AI Go"
#define kAIMenuUpdateSelector "AI Update"

/* The host's group of palette items. */
#define kToolPalettesMenuGroup "Tool Palettes"

/* AddMenuItem options: the item wants "AI Update" calls. */
#define kMenuItemWantsUpdateOption 1

/* One menu item; opaque. */
typedef struct _t_AIMenuItemOpaque *AIMenuItemHandle;

typedef struct AIPlatformAddMenuItemData {
  const char *groupName;  /* zero-terminated */
  unsigned char *itemText; /* length-prefixed */
} AIPlatformAddMenuItemData;

/* Caller "AI Menu". */
typedef struct AIMenuMessage {
  SPMessageData d;
  AIMenuItemHandle menuItem; /* the item the call concerns */
} AIMenuMessage;

typedef struct AIMenuSuite {
  /* Adds an item to the group data->groupName under the unique key `name`;
   * the host copies the texts. The item belongs to the host; *menuItem is
   * its handle for later calls. An unknown group or a key already in use
   * fails with kSPBadParameterError. */
  ASErr(ASAPI *AddMenuItem)(SPPluginRef self, const char *name, AIPlatformAddMenuItemData *data,
                            ai_int32 options, AIMenuItemHandle *menuItem);
  /* Sets or clears the item's check mark. */
  ASErr(ASAPI *CheckItem)(AIMenuItemHandle menuItem, ASBoolean check);
  /* Stores whether the item carries its check mark in *checked. */
  ASErr(ASAPI *IsItemChecked)(AIMenuItemHandle menuItem, ASBoolean *checked);
} AIMenuSuite;

AS_END_C

#endif
