// Resource ids of the palette: its dialog, its items, the arrow bitmaps and
// the option menu. Plain #defines only, so that the resource script can
// include this header as well as the code.
#ifndef PELLO_PLUGIN_RESOURCES_PALETTERESOURCES_H
#define PELLO_PLUGIN_RESOURCES_PALETTERESOURCES_H

// The palette dialog.
#define kPelloDialogID 16000

// Items of the palette dialog.
#define kArrowRightItem 1
#define kArrowUpRightItem 2
#define kArrowUpItem 3
#define kArrowUpLeftItem 4
#define kArrowLeftItem 5
#define kArrowDownLeftItem 6
#define kArrowDownItem 7
#define kArrowDownRightItem 8
#define kDashLeftItem 9
#define kDashRightItem 10
#define kUntransformItem 11
#define kPatternsLabelItem 12
#define kDashesLabelItem 13
#define kVerticalRuleItem 14
#define kHorizontalRuleItem 15

// Arrow bitmaps; each arrow item shows the bitmap of its own id.
#define kArrowRightBitmap 1
#define kArrowUpRightBitmap 2
#define kArrowUpBitmap 3
#define kArrowUpLeftBitmap 4
#define kArrowLeftBitmap 5
#define kArrowDownLeftBitmap 6
#define kArrowDownBitmap 7
#define kArrowDownRightBitmap 8

// The palette's option menu and its commands.
#define kPaletteOptionsMenuID 700
#define kCopyMatrixMenuCommand 1
#define kPasteMatrixMenuCommand 2
#define kShowMatrixMenuCommand 3

#endif
