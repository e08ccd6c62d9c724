#pragma once

#include "gfx/Sprite.h"

// What every way of drawing sprites shares, the game's and the plain build's alike: how
// rectangles become screen pixels and colours, and the sprite recorder. No GL here.

// Sum of two ints without overflow, held within the far off-screen bounds of toPixel.
int pixelSum(int a, int b);

// The colour component an intensity is drawn with. Out-of-range colours are clamped by OpenGL
// anyway; clamping first keeps the conversion to float defined for any double.
float colourComponent(double intensity);

// Whether a picture is drawn unturned (no picture is ever turned; one that were would turn
// about its rectangle's centre).
bool isUnturned(const oglTexture2D* texture);

bool isRecordingSprites();

// Whether a whole frame is being recorded (setFrameRecorder).
bool isRecordingFrame();

// What the recording assumes of the cleared screen (see SpriteFrame::clearedBlack).
bool recordedScreenIsBlack();

// Hands the call to the sprite recorder, if one is set: then the call issues no GL. Returns
// whether it was recorded. `part`: a lone sprite's, or a cell of the layer begun last.
bool recordSprite(const SpriteCall& call, SpriteFrame::Part part = SpriteFrame::Part::Sprites);

// A layer of the part begins: its cells are batched apart from those of any other layer.
void recordLayer(SpriteFrame::Part part);
