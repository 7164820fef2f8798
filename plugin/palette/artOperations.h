// The operations on the selected art that the palette's buttons and option
// menu run. Each returns 0, the code of the first host call that failed, or
// kASStopError when the host cannot give the selection; each reports its own
// failures in message alerts.
#ifndef PELLO_PLUGIN_PALETTE_ARTOPERATIONS_H
#define PELLO_PLUGIN_PALETTE_ARTOPERATIONS_H

#include "ASTypes.h"

// Shifts the fill pattern of every selected pattern-filled path by (h, v).
ASErr pelloPattern(ASReal h, ASReal v);
// Adds dist to the dash offset of every selected dashed path.
ASErr pelloDashes(ASReal dist);
// Resets fill patterns and dash offsets and the linear part of text path,
// placed and raster matrices.
ASErr UntransformMatrix();
// Copies the matrix of the first suitable selected object into g->scrapMatrix.
ASErr GetMatrix();
// Writes g->scrapMatrix onto every suitable selected object.
ASErr SetMatrix();
// Shows g->scrapMatrix with its scales, skew and rotation in an alert.
void showMatrix();

#endif
