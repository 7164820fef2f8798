// The plug-in's one global record, allocated from the host's blocks at
// startup, kept by the host across an unload, freed at shutdown.
#ifndef PELLO_PLUGIN_SHELL_GLOBALS_H
#define PELLO_PLUGIN_SHELL_GLOBALS_H

#include "Suites.h"

struct Globals {
  AIMenuItemHandle showPelloDialog;    // the "Pello Palette" menu item
  ADMDialogRef PelloDialog;            // the palette; null while there is none
  SPAccessRef accessRef;               // the palette's hold on the plug-in
  SPBasicSuite *basic;                 // the startup's basic suite
  AINotifierHandle appStartedNotifier; // the application-started notifier
  ASRealMatrix scrapMatrix;            // the held matrix of copy and paste
  ai_int32 doingWhat;                  // click in progress: 0 pattern, 1 dash
};

// Null before startup and after shutdown.
extern Globals *g;

#endif
