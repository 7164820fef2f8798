// The application-started notifier through which the palette is created.
#ifndef PELLO_PLUGIN_HANDLERS_NOTIFIERHANDLER_H
#define PELLO_PLUGIN_HANDLERS_NOTIFIERHANDLER_H

#include "AINotifier.h"
#include "SPMessage.h"

// Asks for "AI Application Started Notifier"; the handle goes to
// g->appStartedNotifier.
ASErr addNotifiers(SPInterfaceMessage *message);
// Creates the palette for the application-started notification.
ASErr goNotifier(AINotifierMessage *message);

#endif
