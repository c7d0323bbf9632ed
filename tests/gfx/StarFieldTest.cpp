#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "gfx/StarField.h"
#include "objects/Random.h"
#include "tests/gl/RecordingGL.h"
#include "tests/support/RandomSequence.h"

namespace {

using testing_support::FindSeed;
using testing_support::PeekFractions;

TEST(StarFieldTest, TakesTheFirst314ValuesYFirst) {
    std::vector<double> r = PeekFractions(4711, 315);
    CStarField field;
    ASSERT_EQ(field.count, 157);
    for (int i = 0; i < 157; ++i) {
        EXPECT_EQ(field.stars[i]->GetY(), static_cast<int>(r[2 * i] * 768)) << "star " << i;
        EXPECT_EQ(field.stars[i]->GetX(), static_cast<int>(r[2 * i + 1] * 1024)) << "star " << i;
    }
    EXPECT_EQ(RandomFraction(), r[314]);
}

TEST(StarFieldTest, ExtremeValuesLandOnTheBorders) {
    // 0 gives 0 and 32767 gives exactly 768 or 1024.
    unsigned seed = FindSeed(2, [](const std::vector<double>& r) { return r[0] == 1.0; });
    PeekFractions(seed, 2);
    CStarField top;
    EXPECT_EQ(top.stars[0]->GetY(), 768);

    seed = FindSeed(2, [](const std::vector<double>& r) { return r[1] == 0.0; });
    PeekFractions(seed, 2);
    CStarField left;
    EXPECT_EQ(left.stars[0]->GetX(), 0);

    seed = FindSeed(2, [](const std::vector<double>& r) { return r[0] == 16384 / 32767.0; });
    PeekFractions(seed, 2);
    CStarField middle;
    EXPECT_EQ(middle.stars[0]->GetY(), 384);  // 384.01... truncated

    seed = FindSeed(2, [](const std::vector<double>& r) { return r[1] == 16384 / 32767.0; });
    PeekFractions(seed, 2);
    CStarField centre;
    EXPECT_EQ(centre.stars[0]->GetX(), 512);
}

TEST(StarFieldTest, SameSeedSameStars) {
    SeedRandom(99);
    CStarField first;
    SeedRandom(99);
    CStarField second;
    for (int i = 0; i < 157; ++i) {
        EXPECT_EQ(first.stars[i]->GetX(), second.stars[i]->GetX());
        EXPECT_EQ(first.stars[i]->GetY(), second.stars[i]->GetY());
    }
}

TEST(StarFieldTest, DrawsEveryStarAsAWhitePoint) {
    recgl::Reset();
    SeedRandom(5);
    CStarField field;
    field.Draw();
    std::vector<std::string> names = recgl::Names();
    ASSERT_EQ(names.size(), 3u + 157u + 1u);
    EXPECT_EQ(names[0], "glPointSize");
    EXPECT_EQ(recgl::Calls()[0].args[0], 1.0);
    EXPECT_EQ(names[1], "glBegin");
    EXPECT_EQ(recgl::Calls()[1].args[0], GL_POINTS);
    EXPECT_EQ(recgl::Calls()[2].args, (std::vector<double>{1, 1, 1}));
    auto vertices = recgl::Vertices(GL_POINTS);
    ASSERT_EQ(vertices.size(), 157u);
    for (int i = 0; i < 157; ++i) {
        EXPECT_EQ(vertices[i].first, field.stars[i]->GetX());
        EXPECT_EQ(vertices[i].second, field.stars[i]->GetY());
    }
}

}  // namespace
