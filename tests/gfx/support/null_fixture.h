// A fixture on the null backend: the engine started as the game starts it,
// with the null drivers registered instead of the OpenGL ones; a 640 x 480
// graphics opened through open_graphics once per test suite; the initial
// drawing state put back and the draw log emptied before every test. No
// display, no OpenGL.
#pragma once

#include "gfx/null/null_draw_log.h"
#include "gfx/null/null_render_driver.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace vantrel::test {

// Engine start-up on the null backend, once per process.
void start_null_engine();

// The null renderer's log.
NullDrawLog& draw_log();

// The shapes recorded while `draw` runs.
std::vector<NullCall> shapes_of(const std::function<void()>& draw);

// Checks a shape's screen vertices.
void expect_vertices(const NullCall& shape, const std::vector<NullVertex>& want);

class NullGfxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
};

} // namespace vantrel::test
