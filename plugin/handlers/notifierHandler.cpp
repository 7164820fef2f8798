// The application-started notifier: the palette is created once the host
// has finished starting.
#include "notifierHandler.h"

#include "Globals.h"
#include "admHandler.h"

namespace {

constexpr char kNotifierName[] = "notifierName";

} // namespace

ASErr addNotifiers(SPInterfaceMessage *message) {
  return sAINotifier->AddNotifier(message->d.self, kNotifierName, kAIApplicationStartedNotifier,
                                  &g->appStartedNotifier);
}

ASErr goNotifier(AINotifierMessage *message) {
  ASErr error = kASNoError;
  // No record, no palette; and a palette that exists is not made twice.
  if (g == nullptr || g->PelloDialog != nullptr) return error;
  // Without a notifier of its own (the host refused it) no notification is
  // the plug-in's.
  if (g->appStartedNotifier != nullptr && message->notifier == g->appStartedNotifier)
    error = createADMDialog(message);
  return error;
}
