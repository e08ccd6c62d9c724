#include "gfx/Texture.h"

#include <GL/gl.h>
#include <IL/il.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "GlWindow.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

constexpr Rgba kGreen{0, 255, 0, 255};

void expectUntouched(const oglTexture2D& texture) {
    EXPECT_EQ(texture.textureId, 0u);
    EXPECT_EQ(texture.width, 0);
    EXPECT_EQ(texture.height, 0);
    EXPECT_EQ(texture.imageWidth, 0);
    EXPECT_EQ(texture.imageHeight, 0);
}

int uploadedWidth(const oglTexture2D& texture) {
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, texture.textureId);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    return width;
}

class TextureTest : public GlTest {
protected:
    ScratchFolder scratch;
    WorkingDirectory inScratch{scratch.path};
};

TEST_F(TextureTest, missingFileIsReportedByItsPathAndLeavesTheRecordUntouched) {
    oglTexture2D texture;
    CaptureStdout();
    EXPECT_FALSE(texture.loadImage("zolFog.png", 128, 128));
    EXPECT_EQ(GetCapturedStdout(), "oglTexture2D::loadImage failed to load zolFog.png\n");
    expectUntouched(texture);
    EXPECT_EQ(ilGetError(), IL_NO_ERROR);
}

TEST_F(TextureTest, undecodableFileIsReportedLikeAMissingOne) {
    std::ofstream(scratch.file("broken.png")) << "not a picture";
    oglTexture2D texture;
    CaptureStdout();
    EXPECT_FALSE(texture.loadImage("broken.png", 16, 16));
    EXPECT_EQ(GetCapturedStdout(), "oglTexture2D::loadImage failed to load broken.png\n");
    expectUntouched(texture);
}

TEST_F(TextureTest, backslashSeparatesFoldersButIsReportedAsGiven) {
    std::filesystem::create_directory(scratch.path / "fonts");
    ASSERT_TRUE(writePlainPng(scratch.file("fonts/present.png"), 4, 2, kGreen));
    oglTexture2D present;
    oglTexture2D absent;
    CaptureStdout();
    EXPECT_TRUE(present.loadImage("fonts\\present.png", 1024, 512));
    EXPECT_FALSE(absent.loadImage("fonts\\absent.png", 1024, 512));
    EXPECT_EQ(GetCapturedStdout(), "oglTexture2D::loadImage failed to load fonts\\absent.png\n");
    EXPECT_EQ(present.imageWidth, 4);
}

TEST_F(TextureTest, picturesKeepTheirOwnSizeBesideTheNominalOne) {
    ASSERT_TRUE(writePlainPng(scratch.file("pixel.png"), 1, 1, kGreen));
    ASSERT_TRUE(writePlainPng(scratch.file("odd.png"), 3, 5, kGreen));
    oglTexture2D pixel;
    oglTexture2D odd;
    CaptureStdout();
    EXPECT_TRUE(pixel.loadImage("pixel.png", 1, 1));
    EXPECT_EQ(ilGetError(), IL_NO_ERROR);
    EXPECT_TRUE(odd.loadImage("odd.png", 128, 64));
    EXPECT_EQ(ilGetError(), IL_NO_ERROR);
    EXPECT_EQ(GetCapturedStdout(), "");

    EXPECT_EQ(pixel.imageWidth, 1);
    EXPECT_EQ(pixel.imageHeight, 1);
    EXPECT_EQ(odd.imageWidth, 3);
    EXPECT_EQ(odd.imageHeight, 5);
    EXPECT_EQ(odd.width, 128);
    EXPECT_EQ(odd.height, 64);
    EXPECT_EQ(uploadedWidth(odd), 3);
    EXPECT_NE(pixel.textureId, 0u);
    EXPECT_NE(odd.textureId, pixel.textureId);
}

// Drawing leaves out what an opaque picture covers, so one see-through pixel must count.
TEST(TexturePixels, opaqueOnlyWhenEveryPixelIsAndBlackOnlyWhenEveryPixelIsBlackToo) {
    oglTexture2D picture;
    picture.imageWidth = 2;
    picture.imageHeight = 1;
    const unsigned char blackPair[] = {0, 0, 0, 255, 0, 0, 0, 255};
    picture.notePixels(blackPair);
    EXPECT_TRUE(picture.opaque && picture.black);
    const unsigned char seeThrough[] = {0, 0, 0, 255, 0, 0, 0, 254};
    picture.notePixels(seeThrough);
    EXPECT_FALSE(picture.opaque || picture.black);
    const unsigned char grey[] = {0, 0, 0, 255, 9, 9, 9, 255};
    picture.notePixels(grey);
    EXPECT_TRUE(picture.opaque && !picture.black);
    picture.notePixels(nullptr);
    EXPECT_FALSE(picture.opaque);
}

}  // namespace
