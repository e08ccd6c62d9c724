#pragma once

#include <string>

struct DecodedPicture;

// One OpenGL texture made from an image file. The record itself needs no GL context, so the
// simulation can hold and pass textures around; only loadImage talks to a decoder and OpenGL.
class oglTexture2D {
public:
    int width = 0;  // nominal display size in logical pixels, as given to loadImage
    int height = 0;
    float angle = 0.0f;          // degrees; no texture is ever rotated
    unsigned int textureId = 0;  // 0 until a load succeeds; binding 0 draws untextured
    int imageWidth = 0;          // size of the decoded image
    int imageHeight = 0;
    // Every pixel of the picture has full alpha, so a quad of it drawn at full colour hides
    // whatever lies beneath; `black`: and every pixel is black. Set by loadImage; false for a
    // record made by hand, which drawing then never treats as covering anything.
    bool opaque = false;
    bool black = false;

    // Sets `opaque` and `black` from the decoded picture: imageWidth x imageHeight RGBA
    // pixels, row by row. Every loader calls it, so every build leaves out the same quads.
    void notePixels(const unsigned char* rgba);

    // Decodes the file with the platform's decoder and uploads it at its own size. Prints one
    // line on standard output and returns false when the file cannot be loaded or converted.
    // Needs a current GL context. Defined in each platform's TextureGL.cpp.
    bool loadImage(const std::string& path, int width, int height);

    // How the texture is sampled at its edges: Repeat is GL's own default, which the desktop
    // and Windows keep; the page clamps, since WebGL 1 samples a picture whose sides are not
    // powers of two (the help picture) as black unless it is clamped.
    enum class Edges { Repeat, Clamp };

    // The part of loadImage every decoder shares: uploads the picture, or, given none, reports
    // `path` as not loaded and leaves the record as it was. Defined in TextureUploadGL.cpp.
    bool upload(const std::string& path, const DecodedPicture* picture, int width, int height,
                Edges edges = Edges::Repeat);
};
