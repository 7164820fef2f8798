// Resource ids of the plug-in shell, the error dialog and the About box.
// Plain #defines only, so that the resource script can include this header
// as well as the code.
#ifndef PELLO_PLUGIN_RESOURCES_SHELLRESOURCES_H
#define PELLO_PLUGIN_RESOURCES_SHELLRESOURCES_H

// The PiPL by which the host recognises the plug-in.
#define kPiPLResourceID 16000
// The version resource.
#define kVersionResourceID 1

// The About box, its OK button and the maker's logo it shows.
#define kAboutDialogID 16050
#define kAboutOKButtonItem 1
#define kAboutLogoItem 4
#define kAboutLogoBitmapID 16502

// The error dialog and its items.
#define kErrorDialogID 16051
#define kErrorOKButtonItem 1
#define kErrorMessageItem 2
#define kErrorCodeItem 3
#define kErrorFrameItem 4

// The error text list: entry i is string-table string kErrorStringListID + i.
#define kErrorStringListID 16050

#endif
