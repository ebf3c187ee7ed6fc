// Triangles put on the sixteenth-pixel grid keep the texture mapping they
// were given: interpolating the moved triangle anywhere gives the texture
// coordinates the original gives there.
#include "gfx/gles2/gles2_batch.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vantrel {
namespace {

Gles2Vertex vertex(float x, float y, float u, float v)
{
    return Gles2Vertex{.x = x, .y = y, .z = 0, .u = u, .v = v};
}

struct UV {
    double u, v;
};

// The triangle's texture coordinates at (x, y), by barycentric weights.
UV interpolate(const Gles2Vertex (&t)[3], double x, double y)
{
    const double det = (t[1].x - t[0].x) * (t[2].y - t[0].y) - (t[2].x - t[0].x) * (t[1].y - t[0].y);
    const double w1 = ((x - t[0].x) * (t[2].y - t[0].y) - (t[2].x - t[0].x) * (y - t[0].y)) / det;
    const double w2 = ((t[1].x - t[0].x) * (y - t[0].y) - (x - t[0].x) * (t[1].y - t[0].y)) / det;
    const double w0 = 1 - w1 - w2;
    return {w0 * t[0].u + w1 * t[1].u + w2 * t[2].u, w0 * t[0].v + w1 * t[1].v + w2 * t[2].v};
}

bool on_grid(float p) { return std::fmod(p * SUBPIXELS, 1.0f) == 0.0f; }

TEST(Gles2SubpixelGrid, MovedTrianglesInterpolateTheMappingTheyWereGiven)
{
    struct Case {
        const char* what;
        Gles2Vertex t[3];
    };
    const Case cases[] = {
        // A cloud's glow: a small picture magnified ten times at a
        // fractional place, the first triangle of its quad.
        {"magnified", {vertex(10.3f, 20.7f, 0, 0), vertex(650.3f, 20.7f, 0.5f, 0),
                       vertex(650.3f, 660.7f, 0.5f, 0.5f)}},
        // A wing: turned, stretched, away from the origin.
        {"turned", {vertex(301.37f, 187.91f, 0.1f, 0.9f), vertex(355.02f, 162.45f, 0.8f, 0.75f),
                    vertex(322.66f, 240.13f, 0.3f, 0.05f)}},
        // Thinner than a pixel, as a wide line's end can be.
        {"sliver", {vertex(5.01f, 5.02f, 0, 0), vertex(405.04f, 5.09f, 1, 0),
                    vertex(5.05f, 5.71f, 0, 1)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Gles2Vertex moved[3] = {c.t[0], c.t[1], c.t[2]};
        on_subpixel_grid(moved);
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(on_grid(moved[i].x) && on_grid(moved[i].y)) << moved[i].x << ", " << moved[i].y;
            EXPECT_LE(std::fabs(moved[i].x - c.t[i].x), 1.0f / 32);
            EXPECT_LE(std::fabs(moved[i].y - c.t[i].y), 1.0f / 32);
        }
        // Pixel centres across the triangle's box: one 8-bit filter weight
        // of a 64-texel picture is 1 / 16384 of the texture.
        for (double fx : {0.1, 0.3, 0.5, 0.7, 0.9})
            for (double fy : {0.1, 0.5, 0.9}) {
                const double x = c.t[0].x + fx * (c.t[1].x - c.t[0].x) + fy * (c.t[2].x - c.t[1].x);
                const double y = c.t[0].y + fx * (c.t[1].y - c.t[0].y) + fy * (c.t[2].y - c.t[1].y);
                const UV want = interpolate(c.t, x, y), got = interpolate(moved, x, y);
                EXPECT_NEAR(got.u, want.u, 1e-6) << x << ", " << y;
                EXPECT_NEAR(got.v, want.v, 1e-6) << x << ", " << y;
            }
    }
}

TEST(Gles2SubpixelGrid, SharedVerticesMoveAlikeAndGridPointsStay)
{
    // The two triangles of a quad, as the renderer splits it.
    const Gles2Vertex q[4] = {vertex(0.47f, 0.53f, 0, 0), vertex(99.97f, 0.53f, 1, 0),
                              vertex(99.97f, 50.02f, 1, 1), vertex(0.47f, 50.02f, 0, 1)};
    Gles2Vertex first[3] = {q[0], q[1], q[3]}, second[3] = {q[1], q[2], q[3]};
    on_subpixel_grid(first);
    on_subpixel_grid(second);
    EXPECT_EQ(first[1].x, second[0].x);
    EXPECT_EQ(first[1].y, second[0].y);
    EXPECT_EQ(first[2].x, second[2].x);
    EXPECT_EQ(first[2].y, second[2].y);

    // Whole and half pixels are on the grid already: nothing changes.
    Gles2Vertex exact[3] = {vertex(10, 20.5f, 0.25f, 0.5f), vertex(30.5f, 20.5f, 0.75f, 0.5f),
                            vertex(10, 40, 0.25f, 1)};
    Gles2Vertex same[3] = {exact[0], exact[1], exact[2]};
    on_subpixel_grid(same);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(same[i].x, exact[i].x);
        EXPECT_EQ(same[i].y, exact[i].y);
        EXPECT_FLOAT_EQ(same[i].u, exact[i].u);
        EXPECT_FLOAT_EQ(same[i].v, exact[i].v);
    }
}

TEST(Gles2SubpixelGrid, ATriangleWithoutAreaKeepsItsCoordinates)
{
    Gles2Vertex line[3] = {vertex(1.01f, 1.01f, 0.2f, 0.3f), vertex(2.02f, 2.02f, 0.4f, 0.5f),
                           vertex(3.03f, 3.03f, 0.6f, 0.7f)};
    on_subpixel_grid(line);
    EXPECT_FLOAT_EQ(line[1].u, 0.4f);
    EXPECT_FLOAT_EQ(line[2].v, 0.7f);
    for (const Gles2Vertex& v : line)
        EXPECT_TRUE(on_grid(v.x) && on_grid(v.y) && std::isfinite(v.u) && std::isfinite(v.v));
}

} // namespace
} // namespace vantrel
