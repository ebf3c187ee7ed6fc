// The game's frames on the null backend: whole passes of the real main loop
// read back as the renderer calls each one made. What a frame draws and in
// which order, the blend mode each piece is drawn in, the wind bar's width
// from the wind, the wing quads sent twice into one polygon each, the first
// frame's thin tail edges, and the texture and primitive state the quads
// leave for what is drawn after them. Pixels are checked on OpenGL
// (scene_draw_test.cpp).
#include "null_game_run.h"

#include "game/pictures.h"
#include "game/scene_draw.h"
#include "game/scenery.h"
#include "game/state.h"
#include "gfx/draw.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "gfx/null/null_render_driver.h"
#include "gfx/null/null_texture_frame.h"
#include "gfx/render_driver.h"
#include "input/keycodes.h"
#include "support/null_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>
#include <stdexcept>
#include <vector>

namespace vantrel {
namespace {

using test::NullFrame;
using test::NullGameRun;

constexpr int32_t BLEND_OFF = 0;

// What the game's state says about a frame, read in its flip: after the
// drawing, before the keys, the bird and the wind move on.
struct FrameSeen {
    float wind = 0;
    BirdPose pose{};
    std::array<WingQuad, 7> quads{};
    size_t specks = 0, clouds = 0; // listed after the drawing, spawns included
};

void watch(NullGameRun& game, std::vector<FrameSeen>& seen)
{
    game.every_frame([&seen](int) {
        const BirdPose pose = bird_pose();
        seen.push_back({wind, pose, wing_quads(pose), specks->count(), clouds->count()});
    });
}

uint32_t texture_of(const Ref<TImage>& image)
{
    return ref_cast<TNullTextureFrame>(image->frame(0))->texture;
}

// The state change of kind op in effect at calls[at]: the last one before it.
const NullCall& in_effect(const std::vector<NullCall>& calls, size_t at, NullOp op)
{
    for (size_t i = at; i-- > 0;)
        if (calls[i].op == op)
            return calls[i];
    throw std::runtime_error("no such state change before the call");
}

int32_t blend_at(const std::vector<NullCall>& calls, size_t at)
{
    return in_effect(calls, at, NullOp::SetBlend).ints[0];
}

enum class Piece { Sky, Island, Specks, Clouds, Bird, Wings, WindBar, Shown, Other };

std::ostream& operator<<(std::ostream& out, Piece p)
{
    static const char* const names[] = {"sky",  "island",   "specks", "clouds", "bird",
                                        "wings", "wind bar", "shown",  "other"};
    return out << names[static_cast<int>(p)];
}

bool in_top_rows(const NullCall& shape)
{
    for (const NullVertex& v : shape.vertices)
        if (v.y > 20.5f)
            return false;
    return true;
}

bool is_state_change(NullOp op)
{
    return op != NullOp::Clear && op != NullOp::Shape && op != NullOp::Submit &&
           op != NullOp::Flip && op < NullOp::TexturedBegin;
}

// The piece of the picture a drawing call belongs to, told from what it
// draws: the island and the clouds by their textures, the specks as the
// only things drawn with blending off, the wind bar as what lies in the top
// 20 rows (the bird stays far below them in these runs), the other
// untextured shapes as the bird. State changes belong to no piece.
Piece piece_of(const NullGameRun& game, size_t i)
{
    const NullCall& c = game.calls()[i];
    switch (c.op) {
    case NullOp::Clear:
        return Piece::Sky;
    case NullOp::Submit:
    case NullOp::Flip:
        return Piece::Shown;
    case NullOp::TexturedBegin:
    case NullOp::TexturedVertex:
    case NullOp::TexturedEnd:
        return Piece::Wings;
    default:
        break;
    }
    if (c.texture == texture_of(island_image))
        return Piece::Island;
    if (c.texture == texture_of(spark_image))
        return Piece::Clouds;
    if (c.texture != 0)
        return Piece::Other;
    if (blend_at(game.calls(), i) == BLEND_OFF)
        return Piece::Specks;
    return in_top_rows(c) ? Piece::WindBar : Piece::Bird;
}

// The frame's pieces in drawing order, each run of calls of one piece once.
std::vector<Piece> pieces(const NullGameRun& game, const NullFrame& f)
{
    std::vector<Piece> out;
    for (size_t i = f.begin; i < f.end; ++i) {
        if (is_state_change(game.calls()[i].op))
            continue;
        const Piece p = piece_of(game, i);
        if (out.empty() || out.back() != p)
            out.push_back(p);
    }
    return out;
}

int count_shapes(const NullGameRun& game, const NullFrame& f, Piece piece)
{
    int n = 0;
    for (size_t i = f.begin; i < f.end; ++i)
        n += game.calls()[i].op == NullOp::Shape && piece_of(game, i) == piece;
    return n;
}

// Indices of the frame's calls that pass `keep`.
template <class Keep>
std::vector<size_t> find_calls(const NullGameRun& game, const NullFrame& f, Keep keep)
{
    std::vector<size_t> out;
    for (size_t i = f.begin; i < f.end; ++i)
        if (keep(game.calls()[i]))
            out.push_back(i);
    return out;
}

bool has_colour(const NullCall& c, int r, int g, int b)
{
    return c.colour[0] == r && c.colour[1] == g && c.colour[2] == b;
}

TEST(NullGameFrames, EachFrameDrawsSkyIslandSpecksCloudsBirdThenTheWindBar)
{
    // 120 passes: specks and clouds have spawned, none has left the screen.
    constexpr int PASSES = 120;
    NullGameRun game;
    std::vector<FrameSeen> seen;
    watch(game, seen);
    game.end_after(PASSES);
    game.run();
    ASSERT_EQ(game.frames().size(), static_cast<size_t>(PASSES));
    ASSERT_EQ(seen.size(), static_cast<size_t>(PASSES));
    // Before the first frame the loop sets the sky's colour and lets vertex
    // colours drive the material; it draws nothing.
    std::vector<NullOp> before;
    for (size_t i = game.loop_start(); i < game.frames()[0].begin; ++i)
        before.push_back(game.calls()[i].op);
    EXPECT_EQ(before, (std::vector<NullOp>{NullOp::SetClearColour, NullOp::VertexColours}));
    const NullCall& sky = game.calls()[game.loop_start()];
    EXPECT_EQ((std::array<int, 3>{sky.ints[0], sky.ints[1], sky.ints[2]}),
              (std::array<int, 3>{0, 128, 255}));

    for (int k = 0; k < PASSES; ++k) {
        SCOPED_TRACE(testing::Message() << "frame " << k + 1);
        const NullFrame& f = game.frames()[k];
        // What the pass before listed is what this one draws: the scenery
        // spawned in a pass is drawn from the next one on.
        const size_t specks_drawn = k == 0 ? 0 : seen[k - 1].specks;
        const size_t clouds_drawn = k == 0 ? 0 : seen[k - 1].clouds;
        std::vector<Piece> want{Piece::Sky, Piece::Island};
        if (specks_drawn > 0)
            want.push_back(Piece::Specks);
        if (clouds_drawn > 0)
            want.push_back(Piece::Clouds);
        for (Piece p : {Piece::Bird, Piece::Wings, Piece::Bird, Piece::WindBar, Piece::Shown})
            want.push_back(p);
        ASSERT_EQ(pieces(game, f), want);
        EXPECT_EQ(count_shapes(game, f, Piece::Specks), static_cast<int>(specks_drawn));
        EXPECT_EQ(count_shapes(game, f, Piece::Clouds), static_cast<int>(clouds_drawn));
        const NullCall& clear = game.calls()[f.begin];
        EXPECT_TRUE(has_colour(clear, 0, 128, 255));
        // Paced: handed to the driver, then shown without waiting for a retrace.
        EXPECT_EQ(game.calls()[f.end - 2].op, NullOp::Submit);
        EXPECT_EQ(game.calls()[f.end - 1].ints[0], 0);
    }
    EXPECT_GT(seen[PASSES - 2].specks, 10u);
    EXPECT_GT(seen[PASSES - 2].clouds, 1u);
}

TEST(NullGameFrames, TheIslandIsAddedOnceThenBlendedAndEachOtherPieceHasItsMode)
{
    NullGameRun game;
    game.end_after(60);
    game.run();
    const auto& calls = game.calls();
    bool clouds_seen = false;
    for (size_t k = 0; k < game.frames().size(); ++k) {
        SCOPED_TRACE(testing::Message() << "frame " << k + 1);
        const NullFrame& f = game.frames()[k];
        for (size_t i = f.begin; i < f.end; ++i) {
            if (calls[i].op != NullOp::Shape && calls[i].op != NullOp::TexturedBegin)
                continue;
            const Piece p = piece_of(game, i);
            const int32_t blend = blend_at(calls, i);
            // The island: the mode the bird left, start-up's in frame 1.
            int32_t want = BLEND_ALPHA;
            if (p == Piece::Island && k == 0)
                want = BLEND_LIGHT;
            if (p == Piece::Clouds)
                want = BLEND_LIGHT;
            if (p != Piece::Specks) {
                EXPECT_EQ(blend, want) << p;
            }
            clouds_seen = clouds_seen || p == Piece::Clouds;
        }
    }
    EXPECT_TRUE(clouds_seen);
}

// The bar's corners: from the centre to the width the wind gives, 20 high.
void expect_wind_bar(const NullGameRun& game, const NullFrame& f, float width)
{
    const auto bars = find_calls(game, f, [](const NullCall& c) {
        return c.op == NullOp::Shape && c.primitive == Primitive::Quads &&
               has_colour(c, 128, 128, 255);
    });
    ASSERT_EQ(bars.size(), 1u);
    const float end = 320 + width;
    test::expect_vertices(game.calls()[bars[0]], {{320, 0}, {end, 0}, {end, 20}, {320, 20}});
    // Then the black centre mark over it, its last pixel included.
    const NullCall& mark = game.calls()[bars[0] + 2];
    ASSERT_EQ(mark.op, NullOp::Shape);
    EXPECT_TRUE(has_colour(mark, 0, 0, 0));
    test::expect_vertices(mark, {{320.5f, 0.5f}, {320.5f, 20.5f}});
    test::expect_vertices(game.calls()[bars[0] + 3], {{320.5f, 20.5f}});
}

TEST(NullGameFrames, TheWindBarIsAsWideAsTheWindWhenDrawn)
{
    NullGameRun game;
    std::vector<FrameSeen> seen;
    watch(game, seen);
    // Each pass eases the wind 0.001 towards its target (0 here).
    game.at_frame(2, [] { wind = 0.3333f; });
    game.at_frame(5, [] { wind = -0.3333f; });
    game.end_after(8);
    game.run();
    ASSERT_EQ(game.frames().size(), 8u);
    for (size_t k = 0; k < 8; ++k) {
        SCOPED_TRACE(testing::Message() << "frame " << k + 1);
        expect_wind_bar(game, game.frames()[k], std::trunc(seen[k].wind * 300));
    }
    EXPECT_EQ(std::trunc(seen[0].wind * 300), 0);  // no wind: the mark alone
    EXPECT_EQ(std::trunc(seen[2].wind * 300), 99); // 0.3323 grows right
    EXPECT_EQ(std::trunc(seen[5].wind * 300), -99); // and left
}

// The quad's corners as the polygon takes them: P1, P2, P4, P3, twice.
std::vector<NullVertex> twice_around(const WingQuad& q)
{
    const auto f = [](int32_t v) { return static_cast<float>(v); };
    const std::vector<NullVertex> once{{f(q.x1), f(q.y1), 0, 0}, {f(q.x2), f(q.y2), 0, 1},
                                       {f(q.x4), f(q.y4), 1, 1}, {f(q.x3), f(q.y3), 1, 0}};
    std::vector<NullVertex> out = once;
    out.insert(out.end(), once.begin(), once.end());
    return out;
}

// The polygon that begins at calls[at]: its vertices, checked for the wing's
// grey and the facing normal, up to its end.
std::vector<NullVertex> polygon_at(const std::vector<NullCall>& calls, size_t at)
{
    std::vector<NullVertex> out;
    EXPECT_EQ(calls[at].ints[0], static_cast<int32_t>(TexturedPrimitive::Polygon));
    EXPECT_EQ(calls[at].texture, texture_of(wing_image));
    size_t i = at + 1;
    for (; i < calls.size() && calls[i].op == NullOp::TexturedVertex; ++i) {
        const NullCall& v = calls[i];
        EXPECT_EQ((std::array<int, 4>{v.colour[0], v.colour[1], v.colour[2], v.colour[3]}),
                  (std::array<int, 4>{128, 128, 128, 128}));
        EXPECT_EQ((std::array<float, 4>{v.floats[0], v.floats[1], v.floats[2], v.floats[3]}),
                  (std::array<float, 4>{0, 0, 0, 1}));
        out.push_back(v.vertices[0]);
    }
    EXPECT_TRUE(i < calls.size() && calls[i].op == NullOp::TexturedEnd);
    return out;
}

void expect_same(const std::vector<NullVertex>& got, const std::vector<NullVertex>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].x, want[i].x) << "vertex " << i;
        EXPECT_EQ(got[i].y, want[i].y) << "vertex " << i;
        EXPECT_EQ(got[i].u, want[i].u) << "vertex " << i;
        EXPECT_EQ(got[i].v, want[i].v) << "vertex " << i;
    }
}

TEST(NullGameFrames, EachWingQuadGoesTwiceIntoOnePolygon)
{
    NullGameRun game;
    std::vector<FrameSeen> seen;
    watch(game, seen);
    // The left flap key held for a while, so the bird leans.
    game.at_frame(1, [&game] { game.press(KEY_LEFT); });
    game.at_frame(20, [&game] { game.release(KEY_LEFT); });
    game.end_after(30);
    game.run();
    bool leaned = false;
    for (size_t k = 0; k < game.frames().size(); ++k) {
        SCOPED_TRACE(testing::Message() << "frame " << k + 1);
        const auto begins = find_calls(game, game.frames()[k], [](const NullCall& c) {
            return c.op == NullOp::TexturedBegin;
        });
        ASSERT_EQ(begins.size(), 7u);
        for (size_t q = 0; q < 7; ++q)
            expect_same(polygon_at(game.calls(), begins[q]), twice_around(seen[k].quads[q]));
        leaned = leaned || seen[k].pose.d != 0;
    }
    EXPECT_TRUE(leaned);
}

TEST(NullGameFrames, OnlyTheFirstFramesTailEdgesAreThin)
{
    NullGameRun game;
    std::vector<FrameSeen> seen;
    watch(game, seen);
    game.end_after(3);
    game.run();
    const auto& calls = game.calls();
    for (size_t k = 0; k < 3; ++k) {
        SCOPED_TRACE(testing::Message() << "frame " << k + 1);
        const NullFrame& f = game.frames()[k];
        // The tail edges are the lines in the body's grey.
        const auto edges = find_calls(game, f, [](const NullCall& c) {
            return c.op == NullOp::Shape && c.primitive == Primitive::Lines &&
                   has_colour(c, 230, 230, 230);
        });
        ASSERT_EQ(edges.size(), 2u);
        const BirdPose& p = seen[k].pose;
        const float tip_x = p.x + p.d + 0.5f, tip_y = static_cast<float>(p.b) + 40.5f;
        const float root_y = static_cast<float>(p.b) + 4.5f;
        test::expect_vertices(calls[edges[0]], {{tip_x, tip_y}, {p.x - 3.5f, root_y}});
        test::expect_vertices(calls[edges[1]], {{tip_x, tip_y}, {p.x + 4.5f, root_y}});
        for (size_t e : edges)
            EXPECT_EQ(in_effect(calls, e, NullOp::SetLineWidth).floats[0], k == 0 ? 1 : 3);
        // Width 3 is set after the tail edges, before the wings, every frame.
        const auto widths = find_calls(game, f, [](const NullCall& c) {
            return c.op == NullOp::SetLineWidth;
        });
        ASSERT_EQ(widths.size(), 1u);
        EXPECT_GT(widths[0], edges[1]);
        EXPECT_EQ(calls[widths[0]].floats[0], 3);
        EXPECT_LT(widths[0], find_calls(game, f, [](const NullCall& c) {
                                 return c.op == NullOp::TexturedBegin;
                             }).at(0));
    }
    EXPECT_EQ(get_line_width(), 3);
}

TEST(NullGameFrames, TexturesAreBoundThroughTheRendererAndEveryPolygonIsClosed)
{
    NullGameRun game;
    game.end_after(60);
    game.run();
    const auto& calls = game.calls();
    const uint32_t island = texture_of(island_image), spark = texture_of(spark_image),
                   wing = texture_of(wing_image);
    for (size_t k = 0; k < game.frames().size(); ++k) {
        SCOPED_TRACE(testing::Message() << "frame " << k + 1);
        const NullFrame& f = game.frames()[k];
        std::vector<uint32_t> bound;
        bool open = false;
        for (size_t i = f.begin; i < f.end; ++i) {
            const NullCall& c = calls[i];
            if (c.op == NullOp::BindTexture)
                bound.push_back(c.texture);
            // What is drawn textured is drawn with the texture last bound,
            // so the renderer's record of it is true.
            if ((c.op == NullOp::Shape && c.texture != 0) || c.op == NullOp::TexturedBegin) {
                EXPECT_EQ(c.texture, in_effect(calls, i, NullOp::BindTexture).texture) << i;
            }
            // Nothing is drawn inside an open polygon; none is left open.
            if (c.op == NullOp::Shape || c.op == NullOp::TexturedBegin) {
                EXPECT_FALSE(open) << i;
            }
            if (c.op == NullOp::TexturedBegin)
                open = true;
            if (c.op == NullOp::TexturedEnd) {
                EXPECT_TRUE(open) << i;
                open = false;
            }
        }
        EXPECT_FALSE(open);
        // The wings leave theirs bound; the next frame's island binds its own.
        std::vector<uint32_t> want{island};
        if (count_shapes(game, f, Piece::Clouds) > 0)
            want.push_back(spark);
        want.push_back(wing);
        EXPECT_EQ(bound, want);
    }
}

// Quads drawn alone, as the bird draws them, then other shapes and images.
class NullWingQuad : public ::testing::Test {
protected:
    NullGameRun game;
    void SetUp() override
    {
        set_blend_mode(BLEND_ALPHA);
        // An image makes its texture when first drawn.
        texture_of(wing_image);
        texture_of(spark_image);
        null_render_driver()->log().clear();
    }
};

TEST_F(NullWingQuad, IsOnePolygonWithItsCornersTwice)
{
    draw_wing_quad(wing_image, 100, 100, 110, 200, 300, 120, 290, 180);
    const auto& calls = game.calls();
    ASSERT_EQ(calls.size(), 11u); // bind, begin, 8 vertices, end
    EXPECT_EQ(calls[0].op, NullOp::BindTexture);
    EXPECT_EQ(calls[0].texture, texture_of(wing_image));
    ASSERT_EQ(calls[1].op, NullOp::TexturedBegin);
    expect_same(polygon_at(calls, 1), twice_around({100, 100, 110, 200, 300, 120, 290, 180}));
    EXPECT_EQ(null_render_driver()->bound_texture(), texture_of(wing_image));
}

TEST_F(NullWingQuad, LeavesLinesUntexturedAndImagesTheirOwnTexture)
{
    draw_wing_quad(wing_image, 100, 100, 100, 300, 300, 100, 300, 300);
    null_render_driver()->log().clear();
    set_colour(10, 200, 30);
    draw_line(400, 50, 500, 50, 0);
    draw_image(spark_image, 350, 100, 0);
    const auto& calls = game.calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[1].op, NullOp::Shape);
    EXPECT_EQ(calls[1].texture, 0u);
    EXPECT_TRUE(has_colour(calls[1], 10, 200, 30));
    EXPECT_EQ(calls[2].op, NullOp::BindTexture);
    EXPECT_EQ(calls[2].texture, texture_of(spark_image));
    EXPECT_EQ(calls[3].texture, texture_of(spark_image));
}

} // namespace
} // namespace vantrel
