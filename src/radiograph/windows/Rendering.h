#pragma once

#include <QImage>

namespace app {

// The preview: the whole radiograph with brightness, contrast and colour, at the raw image
// window's size.
void RenderPreview();
// Sizes the curve windows to the section and paints the section as their background.
void RenderSection();
// The mean grey of the band in every column, from the radiograph's own pixels.
void ComputeGreyProfile();

// The main window's "To (L)" and "From (R)" boxes: the scan positions of the section's ends.
void ShowSectionPositions();

// The band lines of curve window 1 (radiograph rows) copied onto the preview (its twips).
void CopyBandToPreview();
// The band label of curve window 1 above the upper band line: the band's width in mm (with XRF
// data and so a known stepping) or in pixels.
void UpdateBandLabel();

// The radiograph as loaded (frmMain->radiographPicture's picture).
const QImage& radiographSource();

}  // namespace app
