#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "objects/BaseObject.h"
#include "objects/Point.h"
#include "tests/gl/RecordingGL.h"

namespace {

using Vertex = std::pair<double, double>;

std::vector<Vertex> WorldOf(const CBaseObject& object) {
    std::vector<Vertex> points;
    for (const CPoint* p : object.world->Points()) points.emplace_back(p->GetX(), p->GetY());
    return points;
}

class BaseObjectTest : public ::testing::Test {
protected:
    void SetUp() override { recgl::Reset(); }
    CBaseObject object;
};

TEST(PointTest, KeepsItsCoordinates) {
    CPoint p(-7, 2147483647);
    EXPECT_EQ(p.GetX(), -7);
    EXPECT_EQ(p.GetY(), 2147483647);
}

TEST(PointListTest, KeepsOrderAndSharesPointsWithCopies) {
    PointList list;
    list.Add(1, 2);
    list.Add(3, 4);
    list.Add(-5, -6);
    std::vector<CPoint*> first = list.Points();
    std::vector<CPoint*> second = list.Points();
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(list.Count(), 3);
    // A copy shares the points; discarding it releases nothing (ASan would
    // report a double free when the list is destroyed otherwise).
    EXPECT_EQ(first, second);
    EXPECT_EQ(first[2]->GetX(), -5);
    EXPECT_EQ(first[2]->GetY(), -6);
    first.clear();
    EXPECT_EQ(list.Points()[0]->GetY(), 2);
}

TEST(PointListTest, EmptyListHasNoPoints) {
    PointList list;
    EXPECT_TRUE(list.Points().empty());
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(BaseObjectTest, StartsDeadAtRestWithEmptyOutlines) {
    EXPECT_FALSE(object.alive);
    EXPECT_EQ(object.x, 0.0);
    EXPECT_EQ(object.y, 0.0);
    EXPECT_EQ(object.angle, 0.0);
    EXPECT_EQ(object.spin, 0.0);
    EXPECT_EQ(object.vx, 0.0f);
    EXPECT_EQ(object.vy, 0.0f);
    EXPECT_EQ(object.timer, 0);
    ASSERT_NE(object.model, nullptr);
    ASSERT_NE(object.world, nullptr);
    EXPECT_EQ(object.model->Count(), 0);
    EXPECT_EQ(object.world->Count(), 0);
}

TEST_F(BaseObjectTest, MoveStopsExactlyOnTheEdgeAndWrapsPastIt) {
    object.x = 511;
    object.vx = 1;
    object.Move();
    EXPECT_EQ(object.x, 512.0);
    object.x = 511;
    object.vx = 1.5f;
    object.Move();
    EXPECT_EQ(object.x, -511.5);  // 512.5 is past the edge

    object.x = -511;
    object.vx = -1.5f;
    object.Move();
    EXPECT_EQ(object.x, 511.5);

    object.vx = 0;
    object.y = 383;
    object.vy = 1;
    object.Move();
    EXPECT_EQ(object.y, 384.0);
    object.y = 383;
    object.vy = 1.5f;
    object.Move();
    EXPECT_EQ(object.y, -383.5);
    object.y = -383;
    object.vy = -1.5f;
    object.Move();
    EXPECT_EQ(object.y, 383.5);
    object.y = -384;
    object.vy = 0;
    object.Move();
    EXPECT_EQ(object.y, -384.0);
}

TEST_F(BaseObjectTest, MoveWrapsOncePerTickEvenForHugeSteps) {
    object.x = 0;
    object.vx = 3000;
    object.Move();
    EXPECT_EQ(object.x, 3000.0 - 1024.0);  // one playfield width, no more
}

TEST_F(BaseObjectTest, MoveAddsSpinWithoutReducingTheAngle) {
    object.spin = 0.5;
    for (int i = 0; i < 100; ++i) object.Move();
    EXPECT_DOUBLE_EQ(object.angle, 50.0);
    // Draw still works with a heading far outside 0 to 2 pi.
    object.model->Add(10, 0);
    object.Draw(255);
    const CPoint* p = object.world->Points()[0];
    EXPECT_EQ(p->GetX(), 512 + static_cast<int>(std::floor(10 * std::cos(50.0))));
    EXPECT_EQ(p->GetY(), 384 + static_cast<int>(std::floor(10 * std::sin(50.0))));
}

TEST_F(BaseObjectTest, CountDownEndsBelowZeroNotAtZero) {
    object.timer = 30;
    for (int i = 0; i < 30; ++i) {
        EXPECT_FALSE(object.CountDown()) << "call " << i + 1;
    }
    EXPECT_EQ(object.timer, 0);
    EXPECT_TRUE(object.CountDown());
    EXPECT_EQ(object.timer, -1);
    EXPECT_TRUE(object.CountDown());

    object.timer = 0;
    EXPECT_TRUE(object.CountDown());
}

TEST_F(BaseObjectTest, DrawFloorsPositionAndOffsetSeparately) {
    object.x = -0.5;
    object.y = 0.25;
    object.model->Add(10, 0);
    object.Draw(255);
    EXPECT_EQ(WorldOf(object), (std::vector<Vertex>{{521, 384}}));
}

TEST_F(BaseObjectTest, DrawSendsBlackPolygonThenClosedGreyOutline) {
    object.x = 100.7;
    object.y = -20.2;
    object.angle = 3.141592653589793 / 2;
    object.model->Add(10, 0);
    object.model->Add(-10, 7);
    object.model->Add(-10, -7);
    object.Draw(128);

    // A quarter turn, where cos(pi/2) is a hair above zero, so the floors
    // matter: (-10, 7) gives x = floor(-7.000...1) = -8 and (-10, -7) gives
    // x = floor(6.999...) = 6, not 7.
    std::vector<Vertex> expected = {{612 + 0, 363 + 10}, {612 - 8, 363 - 10}, {612 + 6, 363 - 10}};
    EXPECT_EQ(WorldOf(object), expected);
    EXPECT_EQ(recgl::Vertices(GL_POLYGON), expected);
    std::vector<Vertex> outline = {expected[0], expected[1], expected[1],
                                   expected[2], expected[2], expected[0]};
    EXPECT_EQ(recgl::Vertices(GL_LINES), outline);

    std::vector<std::string> names = recgl::Names();
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(names.front(), "glPushMatrix");
    EXPECT_EQ(names.back(), "glPopMatrix");
    std::vector<GLCall> colours = recgl::CallsNamed("glColor3f");
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0].args, (std::vector<double>{0, 0, 0}));
    float grey = static_cast<float>(128 / 255.0);
    EXPECT_EQ(colours[1].args, (std::vector<double>{grey, grey, grey}));
}

TEST_F(BaseObjectTest, DrawPassesOddBrightnessUnclamped) {
    object.model->Add(1, 1);
    object.Draw(255);
    object.Draw(0);
    object.Draw(-40);
    std::vector<GLCall> colours = recgl::CallsNamed("glColor3f");
    ASSERT_EQ(colours.size(), 6u);
    EXPECT_EQ(colours[1].args[0], 1.0);
    EXPECT_EQ(colours[3].args[0], 0.0);
    EXPECT_EQ(colours[5].args[0], static_cast<float>(-40 / 255.0));
}

TEST_F(BaseObjectTest, DrawOfEmptyModelSendsEmptyBlocksAndEmptiesWorld) {
    object.world->Add(1, 1);  // a stale outline is replaced
    object.Draw(255);
    EXPECT_EQ(object.world->Count(), 0);
    EXPECT_EQ(recgl::Names(),
              (std::vector<std::string>{"glPushMatrix", "glColor3f", "glBegin", "glEnd",
                                        "glColor3f", "glBegin", "glEnd", "glPopMatrix"}));
}

TEST_F(BaseObjectTest, DrawOfTwoPointModelSendsTheSegmentTwice) {
    object.model->Add(-5, 3);
    object.model->Add(4, 0);
    object.Draw(255);
    std::vector<Vertex> world = WorldOf(object);
    ASSERT_EQ(world.size(), 2u);
    EXPECT_EQ(recgl::Vertices(GL_LINES),
              (std::vector<Vertex>{world[0], world[1], world[1], world[0]}));
}

TEST_F(BaseObjectTest, DrawKeepsWorldBetweenDrawsWhileObjectMoves) {
    object.model->Add(0, 0);
    object.Draw(255);
    object.vx = 10;
    object.Move();
    EXPECT_EQ(WorldOf(object), (std::vector<Vertex>{{512, 384}}));
    object.Draw(255);
    EXPECT_EQ(WorldOf(object), (std::vector<Vertex>{{522, 384}}));
}

}  // namespace
