#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "PngFile.h"

// Opens one 1024 x 768 GLUT window per test process, with the game's fixed render state, so
// that textures can be uploaded and sprites drawn and read back.
bool openGlWindow();

// The colour of one logical pixel of the back buffer, (x, y) from the top-left corner as
// the game's projection has it.
Rgba pixelAt(int x, int y);

void clearScreen(float grey);

// A fresh empty folder that is removed again when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(const std::string& name) const { return (path / name).string(); }

    std::filesystem::path path;
};

// Makes a folder the working directory for as long as the object lives.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& folder);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous;
};

// Every test of this kind starts on a black screen with a white current colour.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
};
