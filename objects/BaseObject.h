// The common base of every object on the playfield.
#pragma once

#include "objects/Point.h"

constexpr double kPi = 3.141592653589793;

// Playfield size in units; the origin is at its centre, y points up. The
// window's default size in pixels is the same, one unit to a pixel.
constexpr int kPlayfieldWidth = 1024;
constexpr int kPlayfieldHeight = 768;
constexpr int kHalfWidth = kPlayfieldWidth / 2;
constexpr int kHalfHeight = kPlayfieldHeight / 2;

// Brightness handed to Draw for full white.
constexpr int kFullBrightness = 255;

// An outline object: its shape, where it was last drawn, its motion, an alive
// flag and a general-purpose countdown. Fields are public because the game
// rules and the collision tests read and set them directly.
//
// There is deliberately no virtual destructor: every owner knows the concrete
// class of what it holds and deletes it through that class.
class CBaseObject {
public:
    CBaseObject();
    ~CBaseObject();

    // Both outlines are owned; a copy would delete them twice.
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;

    // Draws a black-filled polygon with a grey outline of brightness / 255
    // and rebuilds `world` with the screen points it drew.
    virtual void Draw(int brightness);

    // One tick of motion: spin, velocity, then wrap-around at the edges.
    virtual void Move();

    // Decrements `timer`; true once it has fallen below zero.
    bool CountDown();

    // Whether the other object's world outline touches this one's: this
    // outline is the polygon; the other is a segment when it has exactly two
    // points, and a set of probe points otherwise. Body in geometry/.
    bool Collides(const CBaseObject& other) const;

    PointList* model;  // unrotated outline relative to the centre
    PointList* world;  // screen outline as of the last Draw
    bool alive;
    double angle;  // radians, counter-clockwise, never reduced
    double spin;   // added to angle by every Move
    double x;
    double y;
    float vx;
    float vy;
    int timer;

protected:
    // Discards the current world outline and starts an empty one.
    void ClearWorld();
};
