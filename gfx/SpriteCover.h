#pragma once

#include <cstddef>
#include <vector>

#include "gfx/Sprite.h"

// The drawing's own view of the cover the play state announced for the frame (beginCover in
// Sprite.h), kept in CoverDraw.cpp.

// Whether the quad can change no pixel the frame ends with: it is wholly under opaque fog or,
// for the layer the remembered tiles go over, wholly under opaque remembered tiles.
bool isHiddenByCover(const oglTexture2D* texture, const SpriteCall& call, bool underRemembered);

// Notes the fog cells a drawn quad reaches into.
void noteDrawnUnderCover(const oglTexture2D* texture, const SpriteCall& call);

// Whether a faded layer is the announced fog, which is not covered by itself.
bool isAnnouncedFog(const CellGrid& grid, const std::vector<double>& intensities);

// Whether a cell of the announced fog is opaque black over the cleared black screen with
// nothing drawn beneath it, where it leaves every pixel as it is.
bool fogCellChangesNothing(std::size_t cell);
