#include "gfx/ResourceCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "GlWindow.h"
#include "gfx/ImageLoader.h"
#include "gfx/TextureSlots.h"

namespace {

namespace fs = std::filesystem;

struct Load {
    const oglTexture2D* texture;
    std::string path;
};

std::vector<Load> loads;

bool countingLoader(oglTexture2D& texture, const std::string& path, int width, int height) {
    loads.push_back({&texture, path});
    return texture.loadImage(path, width, height);
}

// The game's pictures without the fonts folder.
void layOutPictures(const fs::path& folder) {
    for (const fs::directory_entry& entry : fs::directory_iterator(DROMLIN_ASSETS_DIR)) {
        if (entry.path().filename() != "fonts") {
            fs::copy(entry.path(), folder / entry.path().filename(), fs::copy_options::recursive);
        }
    }
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// One catalogue per process, so it is created once for all these tests, from a folder with
// every picture but the fonts.
class ResourceCatalogueTest : public GlTest {
protected:
    static void SetUpTestSuite() {
        if (!openGlWindow()) {
            return;
        }
        ScratchFolder scratch;
        layOutPictures(scratch.path);
        const WorkingDirectory inScratch(scratch.path);
        setImageLoader(countingLoader);
        testing::internal::CaptureStdout();
        first = ResourceCatalogue::instance();
        loadsAfterFirst = loads.size();
        second = ResourceCatalogue::instance();
        output = testing::internal::GetCapturedStdout();
        setImageLoader(nullptr);
    }

    std::size_t loadIndex(int slot) const {
        const oglTexture2D* texture = first->texture(slot);
        const auto found = std::find_if(loads.begin(), loads.end(),
                                        [&](const Load& load) { return load.texture == texture; });
        return static_cast<std::size_t>(found - loads.begin());
    }

    static inline ResourceCatalogue* first = nullptr;
    static inline ResourceCatalogue* second = nullptr;
    static inline std::size_t loadsAfterFirst = 0;
    static inline std::string output;
};

TEST_F(ResourceCatalogueTest, secondInstanceCallReturnsTheSameCatalogueAndLoadsNothing) {
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(second, first);
    EXPECT_EQ(loads.size(), loadsAfterFirst);
}

TEST_F(ResourceCatalogueTest, everySlotGetsItsOwnLoadedTextureAndNoneLiesOutsideTheTable) {
    ASSERT_NE(first, nullptr);
    for (int slot = 0; slot < ResourceCatalogue::kTextureCount; ++slot) {
        ASSERT_NE(first->texture(slot), nullptr) << "slot " << slot;
        EXPECT_LT(loadIndex(slot), 45u) << "slot " << slot;
    }
    EXPECT_EQ(first->texture(-1), nullptr);
    EXPECT_EQ(first->texture(45), nullptr);
}

TEST_F(ResourceCatalogueTest, textureSourceNamesTheFileEachSlotIsLoadedFrom) {
    ASSERT_NE(first, nullptr);
    for (int slot = 0; slot < ResourceCatalogue::kTextureCount; ++slot) {
        EXPECT_EQ(loads[loadIndex(slot)].path, ResourceCatalogue::textureSource(slot).file);
    }
    EXPECT_EQ(ResourceCatalogue::textureSource(45).file, nullptr);
    EXPECT_EQ(ResourceCatalogue::textureSource(slot::kHelpButton).width, 150);
}

TEST_F(ResourceCatalogueTest, greenPixelIsLoadedTwiceAsTwoTextures) {
    ASSERT_NE(first, nullptr);
    const oglTexture2D* selectionLine = first->texture(27);
    const oglTexture2D* healthFill = first->texture(36);
    EXPECT_EQ(loads[loadIndex(27)].path, "greenPixel.png");
    EXPECT_EQ(loads[loadIndex(36)].path, "greenPixel.png");
    EXPECT_NE(selectionLine->textureId, 0u);
    EXPECT_NE(healthFill->textureId, 0u);
    EXPECT_NE(selectionLine->textureId, healthFill->textureId);
    EXPECT_EQ(healthFill->imageWidth, 1);
}

TEST_F(ResourceCatalogueTest, missingFontsFolderGivesElevenMessagesInOrderAfterThePictures) {
    ASSERT_NE(first, nullptr);
    const std::string failed = "oglTexture2D::loadImage failed to load ";
    const std::vector<std::string> fontMessages = {
        failed + "fonts\\arialSpriteFontBlack.png",    failed + "fonts\\arialSpriteFontBlack.png",
        failed + "fonts\\arialSpriteFontBlack.png",    failed + "fonts\\arialSpriteFontBlack.png",
        failed + "fonts\\arialSpriteFontBlack.png",    failed + "fonts\\digitalSpriteFontBlack.png",
        failed + "fonts\\digitalSpriteFontBlack.png",  failed + "fonts\\digitalSpriteFontBlack.png",
        failed + "fonts\\schwabenSpriteFontWhite.png", failed + "fonts\\arialSpriteFontRed.png",
        failed + "fonts\\arialSpriteFontRed.png"};
    const std::vector<std::string> lines = linesOf(output);
    ASSERT_GE(lines.size(), fontMessages.size());
    const std::vector<std::string> last(lines.end() - 11, lines.end());
    EXPECT_EQ(last, fontMessages);
    EXPECT_EQ(lines.size(), fontMessages.size()) << output;
}

TEST_F(ResourceCatalogueTest, fontRecordsFiveAndSevenAreNeverLoaded) {
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first->fonts[6].texture, nullptr);
    EXPECT_EQ(first->fonts[6].glyphSize, 96);
    for (const int unused : {5, 7}) {
        EXPECT_EQ(first->fonts[unused].texture, nullptr);
        EXPECT_EQ(first->fonts[unused].glyphSize, 64);
    }
}

}  // namespace
